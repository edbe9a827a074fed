#include "shell/mb_info_dump.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "containers/output_file.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "resources/menu_templates.h"
#include "shell/application_title.h"
#include "shell/command_handlers.h"
#include "shell/dialog_procedure.h"
#include "shell/dump_type_dialog.h"
#include "shell/shell.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

// The dump file as a descriptor, opened as every output the user names is
// (never through a planted symbolic link); 0 when it cannot be opened.
int open_dump_file(const char* path) {
    std::error_code error;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(path, error));
    std::string why;
    std::FILE* file = open_output_file(path, "wb", why);
    if (!file) return 0;
    if (!existed) ::fchmod(::fileno(file), 0600);  // a new dump is the owner's alone
    const int descriptor = ::fcntl(::fileno(file), F_DUPFD_CLOEXEC, 1);
    std::fclose(file);
    return descriptor > 0 ? descriptor : 0;
}

void enable_dump_items(Shell& shell, bool dumping) {
    const MenuHandle tools = shell_services().tools_menu;
    shell.platform.enable_menu_item(tools, by_position(kStartMbDumpItem), !dumping);
    shell.platform.enable_menu_item(tools, by_position(kEndMbDumpItem), dumping);
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
    view.mb_info_dump_file = open_dump_file(view.dump_path.data());
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
