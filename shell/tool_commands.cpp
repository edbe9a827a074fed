// The commands of the "Info" and "Tools" menus and their toolbar buttons, and
// the commands the module handles itself.
#include <string>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/command_handlers.h"
#include "shell/dialog_placement.h"
#include "shell/dialog_procedure.h"
#include "shell/display_control_dialog.h"
#include "shell/fps_dialog.h"
#include "shell/goto_dialog.h"
#include "shell/module_registry.h"
#include "shell/shell.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

void centre_and_show(Shell& shell, WindowHandle dialog) {
    centre_dialog(shell, dialog);
    shell.platform.show_window(dialog, ShowCommand::kShow);
}

}  // namespace

void command_to_module(Shell& shell, int command, intptr_t extra) {
    shell.module->command(shell.window, msg::kCommand, command, extra);
}

void command_picture_analyzer(Shell& shell, int, intptr_t) {
    show_display_choices(shell.platform, shell.display_control);
    centre_and_show(shell, shell.display_control);
}

void command_fps(Shell& shell, int, intptr_t) {
    run_fps_dialog(shell);
}

void command_goto(Shell& shell, int, intptr_t) {
    run_goto_dialog(shell);
}

void command_information_dialog(Shell& shell, int command, intptr_t) {
    const InformationDialogs& dialogs = shell_services().information;
    WindowHandle dialog = command == cmd::kMbInfo       ? dialogs.mb_info
                          : command == cmd::kPixelInfo  ? dialogs.pixel_info
                          : command == cmd::kHeaderInfo ? dialogs.header
                                                        : dialogs.summary;
    shell.platform.show_window(dialog, ShowCommand::kShow);
}

void command_mb_search(Shell& shell, int, intptr_t) {
    if (shell.search_frame_index != view_state().current_frame_index)
        shell.platform.set_window_text(
            shell.platform.dialog_item(shell.mb_search, ctl::kMbSearchResult), "");
    centre_and_show(shell, shell.mb_search);
}

void command_stream_graph(Shell& shell, int, intptr_t) {
    centre_and_show(shell, shell.stream_graph);
    shell.platform.invalidate(shell.stream_graph);
}

void command_histogram(Shell& shell, int, intptr_t) {
    centre_and_show(shell, shell.picture_analyzer);
    view_state().refresh_request = kRefreshRedraw;
    shell.module->refresh(0);
}

}  // namespace tavimor
