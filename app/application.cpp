// Start-up of the application: the view state, the current module, the
// display, and the main window with its menu bar, toolbar, view tab bar,
// status label and tip window.
#include "app/application.h"

#include <algorithm>
#include <memory>

#include "display/video_display.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/maker.h"
#include "resources/menu_templates.h"
#include "resources/resource_types.h"
#include "shell/module_registry.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr int kLabelWidth = 240;
constexpr int kLabelHeight = 16;

struct MainWindow {
    Platform& platform;
    VideoDisplay* display = nullptr;
    CodecModule* module = nullptr;
    WindowHandle window = kNoWindow;
    WindowHandle toolbar = kNoWindow;
    WindowHandle tab_bar = kNoWindow;
    WindowHandle status_label = kNoWindow;
    WindowHandle tip = kNoWindow;
};

void create_children(MainWindow& main, WindowHandle window) {
    Platform& platform = main.platform;
    main.window = window;
    platform.accept_dropped_files(window, true);
    main.tab_bar = platform.create_control(window, ControlKind::kTabControl, ctl::kViewTabBar, "",
                                           rect_at(250, 450, 154, 34));
    main.status_label = platform.create_control(window, ControlKind::kCentredLabel,
                                                ctl::kStatusLabel, "", rect_at(0, 0, 3, 3));
    platform.set_text_colour(main.status_label, rgb(255, 0, 0));
    display_bind(main.display, &platform, window);
    main.tip = platform.create_tip_window(window);
    if (main.tip == kNoWindow) {
        platform.message_box(window, "Failed to create tips window", "Warning", mb::kIconError);
    }
}

// Places the picture, the scroll bars, the status label and the view tab bar.
void lay_out(MainWindow& main) {
    Platform& platform = main.platform;
    ViewState& state = view_state();
    platform.autosize_toolbar(main.toolbar);
    Rect client = platform.client_rect(main.window);
    int toolbar_height = platform.window_rect(main.toolbar).height();
    state.origin_x = std::max((client.width() - state.picture_width) / 2, 0);
    state.origin_y = std::max((client.height() - state.picture_height) / 2, toolbar_height + 66);
    display_set_origin(main.display, state.origin_x, state.origin_y);
    int vertical_max = state.origin_y + state.picture_height - client.bottom;
    int horizontal_max = state.origin_x + state.picture_width - client.right;
    platform.set_scroll_info(main.window, ScrollBar::kVertical,
                             vertical_max > 0 ? ScrollInfo{0, vertical_max, 10, 0} : ScrollInfo{});
    platform.set_scroll_info(
        main.window, ScrollBar::kHorizontal,
        horizontal_max > 0 ? ScrollInfo{0, horizontal_max, 10, 0} : ScrollInfo{});
    state.scroll_x = state.scroll_y = 0;
    platform.move_window(main.status_label,
                         rect_at((client.width() - kLabelWidth) / 2, state.origin_y - 26,
                                 kLabelWidth, kLabelHeight));
    bool open = main.module && main.module->is_open(0);
    int tabs_width = !open ? 0 : state.reference_loaded ? 480 : 350;
    platform.move_window(main.tab_bar, rect_at((client.width() - tabs_width) / 2,
                                               toolbar_height + 3, tabs_width, 30));
    platform.invalidate(main.window);
}

void show_about(MainWindow& main) {
    std::string text =
        "Tavimor(VP8 Only) is a powerful tool dedicated to analyzing all\r\nVP8 streams.\r\n\r\n";
    text += std::string(kMakerWebAddress) + "\r\n" + std::string(kMakerMailAddress);
    main.platform.message_box(main.window, text, "About Tavimor(VP8 Only) 2.00", mb::kOk);
}

intptr_t on_command(MainWindow& main, int command) {
    switch (command) {
        case cmd::kQuit:
            main.platform.destroy_window(main.window);
            return 0;
        case cmd::kAbout:
            show_about(main);
            return 0;
        case cmd::kWebAddress:
            main.platform.open_document(kMakerWebAddress);
            return 0;
        case cmd::kMailAddress:
            main.platform.open_document(std::string("mailto:") + std::string(kMakerMailAddress));
            return 0;
        default:
            return 0;
    }
}

// Ctrl+Right steps forward, Ctrl+Left backward (while "Step Backward" is enabled).
void on_key(MainWindow& main, int key) {
    Platform& platform = main.platform;
    if (!platform.is_key_down(key::kControl) || (key != key::kRight && key != key::kLeft)) return;
    if (key == key::kLeft &&
        !(platform.button_state(main.toolbar, cmd::kStepBackward) & kButtonEnabled))
        return;
    ViewState& state = view_state();
    state.playing = 0;
    state.direction = key == key::kRight ? 1 : 0;
    platform.send_message(main.window, msg::kTick, 0, 0);
}

intptr_t main_window_proc(MainWindow& main, WindowHandle window, unsigned message, uintptr_t first,
                          intptr_t second) {
    Platform& platform = main.platform;
    switch (message) {
        case msg::kCreate:
            create_children(main, window);
            return 0;
        case msg::kSize:
            if (main.toolbar != kNoWindow) lay_out(main);
            return 0;
        case msg::kPaint:
            if (main.module) main.module->refresh(0);
            display_present(main.display, nullptr);
            return 0;
        case msg::kCommand:
            return on_command(main, command_id(first));
        case msg::kTick:
        case msg::kTimer:
            if (main.module) main.module->tick();
            return 0;
        case msg::kKeyDown:
            on_key(main, static_cast<int>(first));
            return 0;
        case msg::kClose:
            if (main.module) main.module->close();
            shell_services().frame_table.reset();
            display_release_surfaces(main.display);
            platform.destroy_window(window);
            return 0;
        case msg::kDestroy:
            platform.post_quit(0);
            return 0;
        default:
            return platform.default_window_proc(window, message, first, second);
    }
}

// Opens a VP8 stream given on the command line through the registry and the
// module, and asks for its first picture.
void open_stream(MainWindow& main, const std::string& path) {
    CodecModule* module = selectModule(kStreamVp8, kCodecVp8);
    if (!module) return;
    main.module = module;
    ViewState& state = view_state();
    set_path(state.current_stream_path, path);
    module->open(path.c_str());
    if (!module->is_open(0)) return;
    shell_services().frame_table = std::make_unique<FrameTable>();
    if (module->after_open_layout) module->after_open_layout();
    lay_out(main);
    state.direction = 1;
    main.platform.post_message(main.window, msg::kTick, 0, 0);
}

void lend_services(MainWindow& main, MenuHandle menu_bar) {
    ShellServices& services = shell_services();
    services.platform = &main.platform;
    services.main_window = main.window;
    services.toolbar = main.toolbar;
    services.status_label = main.status_label;
    services.tools_menu = main.platform.submenu(menu_bar, kToolsMenuPosition);
    services.display = main.display;
}

}  // namespace

int run_application(Platform& platform, const std::vector<std::string>& arguments) {
    ViewState& state = view_state();
    state = ViewState{};
    set_path(state.temp_directory, platform.temp_directory());
    MainWindow main{platform};
    main.module = createVp8Module();
    reset_view_state(state);
    main.display = display_create();
    WindowHandle window = platform.create_main_window(
        kApplicationTitle,
        [&main](WindowHandle handle, unsigned message, uintptr_t first, intptr_t second) {
            return main_window_proc(main, handle, message, first, second);
        });
    if (window == kNoWindow) {
        platform.message_box(kNoWindow, "Create Window Failed", "Error", mb::kIconError);
        display_destroy(main.display);
        return 0;
    }
    MenuHandle menu_bar = platform.load_menu(kMenuBarName);
    platform.set_menu(window, menu_bar);
    main.toolbar = platform.create_toolbar(window, ctl::kToolbar);
    lend_services(main, menu_bar);
    lay_out(main);
    platform.show_window(window, ShowCommand::kMaximised);
    if (!arguments.empty()) open_stream(main, arguments.front());
    int exit_code = platform.run_message_loop();
    if (main.module) main.module->close();
    shell_services() = ShellServices{};
    // The window's procedure refers to this start-up's objects: it goes first.
    if (platform.is_window(window)) platform.destroy_window(window);
    platform.destroy_menu(menu_bar);
    display_destroy(main.display);
    return exit_code;
}

}  // namespace tavimor
