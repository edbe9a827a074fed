#include "platform/scroll_limits.h"

#include <algorithm>

namespace tavimor {

int last_scroll_position(const ScrollInfo& info) {
    return std::max(info.min, info.max - std::max(info.page - 1, 0));
}

ScrollInfo clamp_scroll_position(const ScrollInfo& info) {
    ScrollInfo kept = info;
    kept.position = std::clamp(info.position, info.min, last_scroll_position(info));
    return kept;
}

}  // namespace tavimor
