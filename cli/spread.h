// The minimum, median and maximum of a set of measurements.
#pragma once

#include <vector>

namespace tavimor {

struct Spread {
    double min = 0, median = 0, max = 0;
};

// All zero for no figures.
Spread spread_of(std::vector<double> figures);

}  // namespace tavimor
