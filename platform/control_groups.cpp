#include "platform/control_groups.h"

namespace tavimor {

std::pair<size_t, size_t> radio_group_around(size_t index, size_t count,
                                             const std::function<bool(size_t)>& is_radio,
                                             const std::function<bool(size_t)>& starts_group) {
    size_t first = index;
    while (first > 0 && !starts_group(first) && is_radio(first - 1)) --first;
    size_t last = index;
    while (last + 1 < count && is_radio(last + 1) && !starts_group(last + 1)) ++last;
    return {first, last};
}

}  // namespace tavimor
