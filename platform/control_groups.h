// The groups that buttons form: radio buttons from the one that starts a
// group up to the next such one, and toolbar check-group buttons in runs.
#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "resources/resource_types.h"

namespace tavimor {

// First and last index of the radio group holding the button at index.
// is_radio(i) tells whether sibling i is a radio button, starts_group(i)
// whether it opens a group.
std::pair<size_t, size_t> radio_group_around(size_t index, size_t count,
                                             const std::function<bool(size_t)>& is_radio,
                                             const std::function<bool(size_t)>& starts_group);

// Checks the button at index and unchecks the rest of its run of check-group
// buttons. Button: anything with the fields style and state.
template <class Button>
void check_in_group(std::vector<Button>& buttons, size_t index) {
    size_t first = index, last = index;
    while (first > 0 && buttons[first - 1].style == ButtonStyle::kCheckGroup) --first;
    while (last + 1 < buttons.size() && buttons[last + 1].style == ButtonStyle::kCheckGroup) ++last;
    for (size_t i = first; i <= last; ++i) buttons[i].state &= ~kButtonChecked;
    buttons[index].state |= kButtonChecked;
}

}  // namespace tavimor
