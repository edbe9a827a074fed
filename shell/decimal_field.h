// The number in an edit field, read as the dialogs read it: at most a given
// number of characters, leading blanks skipped, an optional sign, then decimal
// digits up to the first other character; no digits read as 0. Values beyond
// the int range stop at its ends.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavimor {

int parse_decimal_field(std::string_view text, size_t max_chars);

}  // namespace tavimor
