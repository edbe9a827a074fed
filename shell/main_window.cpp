#include "shell/main_window.h"

#include <string>

#include "display/video_display.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/command_table.h"
#include "shell/container_structure.h"
#include "shell/dialog_procedure.h"
#include "shell/display_control_dialog.h"
#include "shell/information_dialogs.h"
#include "shell/keyboard.h"
#include "shell/mb_info_dump.h"
#include "shell/module_registry.h"
#include "shell/recent_files.h"
#include "shell/scrolling.h"
#include "shell/shell.h"
#include "shell/view_state.h"
#include "shell/window_layout.h"

namespace tavimor {

namespace {

constexpr ColourRef kStatusColour = rgb(255, 0, 0);

// The tool dialogs that live as long as the window, each made once and hidden.
void create_tool_dialogs(Shell& shell) {
    shell.mb_search = create_modeless_dialog(shell, "MBSEARCHDLG", {});
    create_information_dialogs(shell);
    shell.picture_analyzer = create_modeless_dialog(shell, "PICANALYZERDLG", {});
    shell.display_control = create_modeless_dialog(shell, "DISPCTRLDLG", display_control_dialog());
    shell.container_structure =
        create_modeless_dialog(shell, "CONTAINERSTRUCTDLG", container_structure_dialog());
    shell.stream_graph = create_modeless_dialog(shell, "STREAMGRAPHDLG", {});
}

void on_create(Shell& shell, WindowHandle window) {
    Platform& platform = shell.platform;
    shell.window = window;
    platform.accept_dropped_files(window, true);
    shell.tab_bar = platform.create_control(window, ControlKind::kTabControl, ctl::kViewTabBar, "",
                                            rect_at(250, 450, 154, 34));
    sync_view_tabs(shell);
    shell.status_label = platform.create_control(window, ControlKind::kCentredLabel,
                                                 ctl::kStatusLabel, "", rect_at(0, 0, 3, 3));
    platform.set_text_colour(shell.status_label, kStatusColour);
    create_tool_dialogs(shell);
    display_bind(shell.display, &platform, window);
    shell.tip = platform.create_tip_window(window);
    if (shell.tip == kNoWindow)
        platform.message_box(window, "Failed to create tips window", "Warning", mb::kIconError);
}

void on_view_tab_change(Shell& shell, const NotifyHeader& header) {
    if (header.id != ctl::kViewTabBar || header.code != notify::kTabSelectionChange) return;
    ViewState& view = view_state();
    if (!shell.module->is_open(0)) {
        // Nothing to show: the bar keeps showing the view that stays chosen.
        shell.platform.tab_select(shell.tab_bar, view.selected_tab);
        return;
    }
    view.selected_tab = shell.platform.tab_selection(shell.tab_bar);
    view.refresh_request = kRefreshRedraw;
    shell.module->refresh(1);
}

// "VP8POPUP" for a VP8 stream, the H.264 module's popup otherwise (which this
// edition does not have).
void on_context_menu(Shell& shell, intptr_t packed_screen) {
    Platform& platform = shell.platform;
    const ViewState& view = view_state();
    const bool vp8 = view.stream_kind == kStreamVp8 || view.codec_code == kCodecVp8;
    MenuHandle menu = platform.load_menu(vp8 ? "VP8POPUP" : "H264POPUP");
    if (menu == kNoMenu) return;
    platform.track_popup_menu(platform.submenu(menu, 0), shell.window, unpack_point(packed_screen));
    platform.destroy_menu(menu);
}

void on_dropped_files(Shell& shell, const DroppedPaths& paths) {
    if (paths.empty()) return;
    const std::string first = paths.front();
    shell.platform.send_message(shell.window, msg::kCommand, command_parameter(cmd::kDroppedFile),
                                path_parameter(first));
}

// The user closes the window: the stream and the display go, the history is
// saved, then the window goes.
void on_close_request(Shell& shell, WindowHandle window) {
    shell.module->close();
    close_mb_info_dump_file();
    display_release_surfaces(shell.display);
    save_history(shell);
    shell.platform.destroy_window(window);
}

void on_destroy(Shell& shell) {
    Platform& platform = shell.platform;
    destroy_information_dialogs(shell);
    for (WindowHandle* dialog : {&shell.mb_search, &shell.picture_analyzer, &shell.display_control,
                                 &shell.container_structure, &shell.stream_graph}) {
        platform.destroy_window(*dialog);
        *dialog = kNoWindow;
    }
    platform.destroy_window(shell.tip);
    shell.tip = kNoWindow;
    platform.post_quit(0);
}

}  // namespace

intptr_t main_window_proc(Shell& shell, WindowHandle window, unsigned message, uintptr_t first,
                          intptr_t second) {
    Platform& platform = shell.platform;
    switch (message) {
        case msg::kCreate:
            on_create(shell, window);
            return 0;
        case msg::kSize:
            if (shell.toolbar != kNoWindow) lay_out_main_window(shell);
            return 0;
        case msg::kPaint:
            shell.module->refresh(0);
            return 0;
        case msg::kHScroll:
            on_scroll(shell, ScrollBar::kHorizontal, first);
            return 0;
        case msg::kVScroll:
            on_scroll(shell, ScrollBar::kVertical, first);
            return 0;
        case msg::kTimer:
        case msg::kTick:
            return shell.module->tick();
        case msg::kMouseMove:
            return shell.module->mouse_move(window, second);
        case msg::kLeftButtonDown:
            shell.module->left_click(static_cast<unsigned>(first), second);
            return 0;
        case msg::kNotify:
            on_view_tab_change(shell, notify_header(second));
            return 0;
        case msg::kContextMenu:
            on_context_menu(shell, second);
            return 0;
        case msg::kKeyDown:
            on_key_down(shell, static_cast<int>(first));
            return 0;
        case msg::kDropFiles:
            on_dropped_files(shell, dropped_paths(second));
            return 0;
        case msg::kCommand:
            if (dispatch_command(shell, command_id(first), second)) return 0;
            return platform.default_window_proc(window, message, first, second);
        case msg::kClose:
            on_close_request(shell, window);
            return 0;
        case msg::kDestroy:
            on_destroy(shell);
            return 0;
        default:
            return platform.default_window_proc(window, message, first, second);
    }
}

}  // namespace tavimor
