#include "shell/fps_dialog.h"

#include <string>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/decimal_field.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr size_t kFieldCharacters = 19;

}  // namespace

int parse_fps_field(std::string_view text) {
    const int rate = parse_decimal_field(text, kFieldCharacters);
    return rate < 1 ? 0 : rate;
}

DialogBehaviour fps_dialog() {
    DialogBehaviour behaviour;
    behaviour.initialise = [](Shell& shell, WindowHandle dialog) {
        shell.platform.set_window_text(shell.platform.dialog_item(dialog, ctl::kFpsField),
                                       std::to_string(view_state().frames_per_second));
    };
    behaviour.accept = [](Shell& shell, WindowHandle dialog) {
        const int rate = parse_fps_field(
            shell.platform.window_text(shell.platform.dialog_item(dialog, ctl::kFpsField)));
        if (rate == 0) {
            shell.platform.message_box(dialog, "Invalid FPS valid, Using default(15fps)", "Warning",
                                       mb::kOk | mb::kIconInformation);
        }
        view_state().frames_per_second = rate == 0 ? kDefaultFramesPerSecond : rate;
        return true;
    };
    return behaviour;
}

void run_fps_dialog(Shell& shell) {
    run_modal_dialog(shell, "FPSDLG", fps_dialog());
}

}  // namespace tavimor
