// Colour references: red in the low byte, then green, then blue (0x00BBGGRR).
#pragma once

#include <cstdint>

namespace tavimor {

using ColourRef = uint32_t;

constexpr ColourRef rgb(int red, int green, int blue) {
    return static_cast<ColourRef>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}
constexpr int red_of(ColourRef colour) {
    return colour & 0xFF;
}
constexpr int green_of(ColourRef colour) {
    return (colour >> 8) & 0xFF;
}
constexpr int blue_of(ColourRef colour) {
    return (colour >> 16) & 0xFF;
}

}  // namespace tavimor
