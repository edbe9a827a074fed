#include "shell/window_layout.h"

#include <algorithm>

#include "display/video_display.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr int kPictureTopMargin = 66;  // below the toolbar
constexpr int kScrollPage = 10;
constexpr int kLabelWidth = 240;
constexpr int kLabelHeight = 16;
constexpr int kLabelAbovePicture = 26;
constexpr int kTabBarTop = 3;  // below the toolbar
constexpr int kTabBarHeight = 30;
constexpr int kTabBarWidth = 350;
constexpr int kTabBarWidthWithReference = 480;

constexpr const char* kViewTabs[] = {"Final",    "Pre-LoopFilter", "Predicted",
                                     "Residual", "Orig YUV",       "Final-Orig"};
constexpr int kPlainTabs = 4;
constexpr int kReferenceTabs = 6;

// Range 0..max with page 10 when the picture reaches beyond the client area
// by max pixels; otherwise no range.
ScrollInfo scroll_range(int beyond) {
    return beyond > 0 ? ScrollInfo{0, beyond, kScrollPage, 0} : ScrollInfo{};
}

}  // namespace

void sync_view_tabs(Shell& shell) {
    Platform& platform = shell.platform;
    const int wanted = view_state().reference_loaded ? kReferenceTabs : kPlainTabs;
    int count = platform.tab_count(shell.tab_bar);
    for (; count > wanted; --count) platform.tab_delete(shell.tab_bar, count - 1);
    for (; count < wanted; ++count) platform.tab_insert(shell.tab_bar, count, kViewTabs[count]);
}

void lay_out_main_window(Shell& shell) {
    Platform& platform = shell.platform;
    ViewState& view = view_state();
    platform.autosize_toolbar(shell.toolbar);
    const Rect client = platform.client_rect(shell.window);
    const int toolbar_height = platform.window_rect(shell.toolbar).height();

    view.origin_x = std::max((client.width() - view.picture_width) / 2, 0);
    view.origin_y =
        std::max((client.height() - view.picture_height) / 2, toolbar_height + kPictureTopMargin);
    display_set_origin(shell.display, view.origin_x, view.origin_y);

    platform.set_scroll_info(shell.window, ScrollBar::kVertical,
                             scroll_range(view.origin_y + view.picture_height - client.bottom));
    platform.set_scroll_info(shell.window, ScrollBar::kHorizontal,
                             scroll_range(view.origin_x + view.picture_width - client.right));
    view.scroll_x = view.scroll_y = 0;

    platform.move_window(shell.status_label,
                         rect_at((client.width() - kLabelWidth) / 2,
                                 view.origin_y - kLabelAbovePicture, kLabelWidth, kLabelHeight));

    sync_view_tabs(shell);
    const bool open = shell.module && shell.module->is_open(0);
    const int tabs_width = !open                   ? 0
                           : view.reference_loaded ? kTabBarWidthWithReference
                                                   : kTabBarWidth;
    platform.move_window(shell.tab_bar,
                         rect_at((client.width() - tabs_width) / 2, toolbar_height + kTabBarTop,
                                 tabs_width, kTabBarHeight));
    platform.invalidate(shell.window);
}

}  // namespace tavimor
