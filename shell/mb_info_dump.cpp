#include "shell/mb_info_dump.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/application_title.h"
#include "shell/command_handlers.h"
#include "shell/dialog_procedure.h"
#include "shell/dump_type_dialog.h"
#include "shell/shell.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

// Positions of the dump items in the "Tools" menu.
constexpr int kStartDumpItem = 2;
constexpr int kEndDumpItem = 3;

void enable_dump_items(Shell& shell, bool dumping) {
    const MenuHandle tools = shell_services().tools_menu;
    shell.platform.enable_menu_item(tools, by_position(kStartDumpItem), !dumping);
    shell.platform.enable_menu_item(tools, by_position(kEndDumpItem), dumping);
}

}  // namespace

void close_mb_info_dump_file() {
    ViewState& view = view_state();
    if (view.mb_info_dump_file > 0) ::close(view.mb_info_dump_file);
    view.mb_info_dump_file = 0;
}

void command_start_mb_dump(Shell& shell, int, intptr_t) {
    Platform& platform = shell.platform;
    if (!shell.module->is_open(0)) {
        platform.message_box(shell.window, "Please open a stream file first.", kApplicationTitle,
                             mb::kOk | mb::kIconInformation);
        return;
    }
    if (run_modal_dialog(shell, "FILETYPEDLG", dump_type_dialog()) != ctl::kOk) return;
    close_mb_info_dump_file();
    ViewState& view = view_state();
    view.mb_info_dump_file =
        ::open(view.dump_path.data(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
    if (view.mb_info_dump_file <= 0) {
        // No dump runs: "Start" is offered again for another try.
        view.mb_info_dump_file = 0;
        platform.message_box(shell.window, "Failed to open MB Info dump file", "Warning",
                             mb::kOk | mb::kIconError);
        enable_dump_items(shell, false);
        return;
    }
    shell.module->refresh(1);
    enable_dump_items(shell, true);
}

void command_end_mb_dump(Shell& shell, int, intptr_t) {
    if (view_state().mb_info_dump_file <= 0) return;
    close_mb_info_dump_file();
    shell.module->refresh(1);
    enable_dump_items(shell, false);
}

}  // namespace tavimor
