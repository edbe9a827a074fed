// The clock of the decode and loop-filter times.
#pragma once

#include <cstdint>

namespace vp8 {

// Monotonic clock in microseconds.
int64_t now_microseconds();

}  // namespace vp8
