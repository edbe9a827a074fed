#include "shell/application.h"

#include <algorithm>
#include <vector>

#include "display/video_display.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "resources/menu_templates.h"
#include "shell/dialog_placement.h"
#include "shell/histogram.h"
#include "shell/main_window.h"
#include "shell/module_registry.h"
#include "shell/open_flow.h"
#include "shell/recent_files.h"
#include "shell/settings_path.h"
#include "shell/shell.h"
#include "shell/shell_services.h"
#include "shell/startup_notice.h"
#include "shell/text_view.h"
#include "shell/tip_service.h"
#include "shell/view_state.h"
#include "shell/window_layout.h"

namespace tavimor {

namespace {

// What the module may use of the shell, for as long as the window lives.
void lend_services(Shell& shell) {
    ShellServices& services = shell_services();
    services.platform = &shell.platform;
    services.main_window = shell.window;
    services.toolbar = shell.toolbar;
    services.status_label = shell.status_label;
    services.tools_menu = shell.platform.submenu(shell.menu_bar, kToolsMenuPosition);
    services.display = shell.display;
    services.mb_search_dialog = shell.mb_search;
    services.picture_analyzer_dialog = shell.picture_analyzer;
    services.stream_graph_dialog = shell.stream_graph;
    // "CacheLimitMB" in "Local Info": the budget of the working files.
    services.cache_limit_mb = std::max(
        0, shell.platform.profile_int("Local Info", "CacheLimitMB", 0, shell.settings_path));
    services.centre_dialog = [&shell](WindowHandle dialog) { centre_dialog(shell, dialog); };
    services.show_tip = [&shell](std::string_view text, Point client) {
        show_tip(shell, text, client);
    };
    services.hide_tip = [&shell] { hide_tip(shell); };
    services.feed_histogram = [&shell](const PlanarPicture& picture) {
        feed_histogram(shell, picture);
    };
    services.install_text_view = [&shell](WindowHandle control) {
        install_text_view(shell, control);
    };
}

// The services the module needs while the main window is being made (its
// dialogs' tabs and text views) before the window's handles are known.
void lend_dialog_services(Shell& shell) {
    ShellServices& services = shell_services();
    services = ShellServices{};
    services.platform = &shell.platform;
    services.display = shell.display;
    services.centre_dialog = [&shell](WindowHandle dialog) { centre_dialog(shell, dialog); };
    services.install_text_view = [&shell](WindowHandle control) {
        install_text_view(shell, control);
    };
}

// Releases what the process's end would release: the module's stream, the
// menu and the display.
void shut_down(Shell& shell) {
    shell.module->close();
    // The window's procedure refers to this start-up's objects: it goes first.
    if (shell.platform.is_window(shell.window)) shell.platform.destroy_window(shell.window);
    shell_services() = ShellServices{};
    shell.platform.destroy_menu(shell.menu_bar);
    display_destroy(shell.display);
}

}  // namespace

int run_application(Platform& platform, const std::vector<std::string>& arguments) {
    Shell shell(platform);
    ViewState& view = view_state();
    view = ViewState{};
    set_path(view.temp_directory, platform.temp_directory());
    shell.module = createVp8Module();
    if (!shell.module) return 1;  // main() hands the registry the VP8 module first
    reset_view_state(view);
    shell.settings_path = settings_path(platform.executable_path());
    const std::vector<std::string> history = load_history(shell);
    shell.display = display_create();
    lend_dialog_services(shell);
    shell.window = platform.create_main_window(
        kApplicationTitle,
        [&shell](WindowHandle window, unsigned message, uintptr_t first, intptr_t second) {
            return main_window_proc(shell, window, message, first, second);
        });
    if (shell.window == kNoWindow) {
        platform.message_box(kNoWindow, "Create Window Failed", "Error", mb::kIconError);
        display_destroy(shell.display);
        shell_services() = ShellServices{};
        return 0;
    }
    shell.menu_bar = platform.load_menu(kMenuBarName);
    show_history(shell, history);
    platform.set_menu(shell.window, shell.menu_bar);
    shell.toolbar = platform.create_toolbar(shell.window, ctl::kToolbar);
    lend_services(shell);
    lay_out_main_window(shell);
    platform.show_window(shell.window, ShowCommand::kMaximised);
    show_startup_notice(shell);
    if (!arguments.empty()) open_from_command_line(shell, arguments.front());
    const int exit_code = platform.run_message_loop();
    shut_down(shell);
    return exit_code;
}

}  // namespace tavimor
