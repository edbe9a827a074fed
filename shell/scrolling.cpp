#include "shell/scrolling.h"

#include <algorithm>

#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

int scrolled_position(const ScrollInfo& info, int code, int thumb) {
    int position = info.position;
    switch (code) {
        case scroll::kLineUp:
            position -= 1;
            break;
        case scroll::kLineDown:
            position += 1;
            break;
        case scroll::kPageUp:
            position -= info.page;
            break;
        case scroll::kPageDown:
            position += info.page;
            break;
        case scroll::kThumbTrack:
            position = thumb;
            break;
        default:
            break;
    }
    return std::clamp(position, 0, std::max(info.max, 0));
}

void on_scroll(Shell& shell, ScrollBar bar, uintptr_t first) {
    // The offset may reach the range's max, where the bar's thumb (a page
    // wide) already stops short: the offset, not the thumb, is the position.
    int& offset = bar == ScrollBar::kHorizontal ? view_state().scroll_x : view_state().scroll_y;
    ScrollInfo info = shell.platform.scroll_info(shell.window, bar);
    info.position = offset;
    const int position = scrolled_position(info, scroll_code(first), scroll_position(first));
    if (position == offset) return;
    offset = info.position = position;
    shell.platform.set_scroll_info(shell.window, bar, info);
    shell.module->refresh(0);
}

}  // namespace tavimor
