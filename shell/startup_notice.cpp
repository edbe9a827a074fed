#include "shell/startup_notice.h"

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/dialog_procedure.h"
#include "shell/shell.h"

namespace tavimor {

namespace {

constexpr std::string_view kSection = "Local Info";
constexpr std::string_view kKey = "CheckNever";
constexpr const char* kNotice =
    "Thank you using Tavimor(VP8 Only). This version can analyze:\t\t\r\n\r\n\t+ VP8(Webm)";

DialogBehaviour notice_dialog() {
    DialogBehaviour behaviour;
    behaviour.initialise = [](Shell& shell, WindowHandle dialog) {
        shell.platform.set_window_text(shell.platform.dialog_item(dialog, ctl::kNoticeText),
                                       kNotice);
    };
    // The choice is kept at once, as the box is ticked or cleared.
    behaviour.command = [](Shell& shell, WindowHandle dialog, int id, int) {
        if (id != ctl::kDontShowAgain) return;
        const bool never = shell.platform.check_state(shell.platform.dialog_item(
                               dialog, ctl::kDontShowAgain)) == CheckState::kChecked;
        shell.platform.write_profile_string(kSection, kKey, never ? "1" : "0", shell.settings_path);
    };
    return behaviour;
}

}  // namespace

void show_startup_notice(Shell& shell) {
    if (shell.platform.profile_int(kSection, kKey, 0, shell.settings_path) != 0) return;
    run_modal_dialog(shell, "MSGDIALOG", notice_dialog());
}

}  // namespace tavimor
