// Scrolling the picture with the main window's scroll bars.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace tavimor {

struct Shell;

// The position a scroll code leads to from the bar's state: line -1/+1, page
// -/+ the page, thumb track to the thumb; other codes stay. Kept within 0
// and the range's max.
int scrolled_position(const ScrollInfo& info, int code, int thumb);

// Handles kHScroll or kVScroll of the main window: a changed position moves
// the bar and the picture.
void on_scroll(Shell& shell, ScrollBar bar, uintptr_t first);

}  // namespace tavimor
