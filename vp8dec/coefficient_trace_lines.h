// The header trace's line for a coefficient probability that the frame does
// not update. Every frame reads an update flag for each of the 1056
// probabilities; the lines of the flags left at 0 are made once and copied.
#pragma once

#include <string_view>

namespace vp8 {

// "\t\t0 <- is_avaible[i][j][k][l]\n" for block type i, band j, context k, node l.
std::string_view coefficient_kept_line(int i, int j, int k, int l);

}  // namespace vp8
