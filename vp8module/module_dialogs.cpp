// The module's part of every dialog's messages: the tabs, text views and font
// of the information dialogs, made when a dialog is initialised.
#include <string_view>

#include "platform/font_request.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/information_views.h"
#include "vp8module/stream_graph_view.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

// What a dialog gets from the module, found by a control it has.
struct DialogTabs {
    int tab_control;
    std::string_view tabs[5];  // up to the first empty one
    int text_view;             // 0: none
};

const DialogTabs kDialogTabs[] = {
    {ctl::kHeaderTabs, {"FrameHdr"}, 0},
    {ctl::kMbInfoTabs, {"MB Info", "Pred Info"}, ctl::kMbInfoText},
    {ctl::kPixelInfoTabs,
     {"Final", "Pre-LoopFilter", "Predicted", "Residual", "Coef"},
     ctl::kPixelInfoText},
    {ctl::kSummaryTabs, {"Picture"}, ctl::kSummaryText},
};

const FontRequest kPixelTextFont = {"Lucida Console", 11, 400, false, false, false, 0x31};

bool has(Platform& platform, WindowHandle dialog, int id) {
    return platform.dialog_item(dialog, id) != kNoWindow;
}

void add_tabs(Platform& platform, WindowHandle dialog, const DialogTabs& entry) {
    WindowHandle tabs = platform.dialog_item(dialog, entry.tab_control);
    for (std::string_view tab : entry.tabs)
        if (!tab.empty()) platform.tab_insert(tabs, -1, tab);
    if (entry.tab_control == ctl::kHeaderTabs)
        platform.show_window(platform.dialog_item(dialog, ctl::kHeaderTree), ShowCommand::kShow);
    if (entry.text_view == 0) return;
    WindowHandle text = platform.dialog_item(dialog, entry.text_view);
    if (entry.text_view == ctl::kPixelInfoText) platform.set_font(text, kPixelTextFont);
    ShellServices& services = shell_services();
    if (services.install_text_view) services.install_text_view(text);
}

// 0 when the module made the dialog's tabs (the shell leaves it alone), 1
// when the shell initialises it.
intptr_t initialise(WindowHandle dialog) {
    ShellServices& services = shell_services();
    Platform* platform = services.platform;
    if (!platform) return 1;
    if (services.centre_dialog) services.centre_dialog(dialog);
    if (has(*platform, dialog, ctl::kMbSearchStart)) return 1;
    if (has(*platform, dialog, ctl::kGraphFrame)) return 0;
    for (const DialogTabs& entry : kDialogTabs) {
        if (!has(*platform, dialog, entry.tab_control)) continue;
        add_tabs(*platform, dialog, entry);
        return 0;
    }
    return 1;
}

// A tab of an information dialog chosen: its text for the picture shown.
void on_tab_change(int tabs_id) {
    Vp8ModuleState& state = vp8_module_state();
    if (!state.record || view_state().current_frame_index <= 0) return;
    if (tabs_id == ctl::kMbInfoTabs) show_mb_info(state);
    if (tabs_id == ctl::kPixelInfoTabs) show_pixel_info(state);
    if (tabs_id == ctl::kSummaryTabs) show_summary(state);
}

}  // namespace

intptr_t vp8_module_dialog_filter(WindowHandle dialog, unsigned message, uintptr_t,
                                  intptr_t second) {
    if (message == msg::kInitDialog) return initialise(dialog);
    Platform* platform = shell_services().platform;
    if (platform && platform->dialog_item(dialog, ctl::kStreamGraphFrame) != kNoWindow)
        return stream_graph_message(dialog, message, second);
    if (message == msg::kNotify && notify_header(second).code == notify::kTabSelectionChange) {
        on_tab_change(notify_header(second).id);
        return 0;
    }
    return 1;
}

}  // namespace tavimor
