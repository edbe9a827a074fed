// The six-tap filters as the 16-bit words that the byte multiply-add
// instructions take: two signed 8-bit taps side by side, the first in the low
// byte, for the tap pairs (1, 2), (3, 4) and (0, 5). Made at compile time, so
// that a kernel only broadcasts them.
#pragma once

#include <array>
#include <cstdint>

#include "vp8dec/tables.h"

namespace vp8 {

constexpr int16_t tap_pair_word(int frac, int first, int second) {
    const auto low = static_cast<uint8_t>(static_cast<int8_t>(kSixTapFilters[frac][first]));
    const auto high = static_cast<uint8_t>(static_cast<int8_t>(kSixTapFilters[frac][second]));
    return static_cast<int16_t>(low | (high << 8));
}

inline constexpr std::array<std::array<int16_t, 3>, 8> kTapPairWords = [] {
    std::array<std::array<int16_t, 3>, 8> words{};
    for (int frac = 0; frac < 8; ++frac)
        words[frac] = {tap_pair_word(frac, 1, 2), tap_pair_word(frac, 3, 4),
                       tap_pair_word(frac, 0, 5)};
    return words;
}();

}  // namespace vp8
