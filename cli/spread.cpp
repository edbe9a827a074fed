#include "cli/spread.h"

#include <algorithm>

namespace tavimor {

Spread spread_of(std::vector<double> figures) {
    if (figures.empty()) return {};
    std::sort(figures.begin(), figures.end());
    return {figures.front(), figures[figures.size() / 2], figures.back()};
}

}  // namespace tavimor
