// The shortest period a timer runs at.
#pragma once

#include <algorithm>

namespace tavimor {

inline constexpr int kMinimumTimerPeriod = 10;  // milliseconds

// The period a timer asked for period_ms runs at: a period below the
// minimum, 0 and negative ones included, runs at the minimum.
constexpr int effective_timer_period(int period_ms) {
    return std::max(period_ms, kMinimumTimerPeriod);
}

}  // namespace tavimor
