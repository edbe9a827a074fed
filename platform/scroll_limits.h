// Where a scroll bar's thumb may stand: from min to max less the page (a
// page of n shows n positions at once), never before min.
#pragma once

#include "platform/platform.h"

namespace tavimor {

// The last position the thumb can reach.
int last_scroll_position(const ScrollInfo& info);

// The information with its position moved inside min..last_scroll_position.
ScrollInfo clamp_scroll_position(const ScrollInfo& info);

}  // namespace tavimor
