// The integer YUV-to-RGB conversion of the displayed pictures: 20 fractional
// bits, factors 1.16895 (Y), 1.60229 (V in R), 0.39276 and 0.81565 (U and V in
// G), 2.02518 (U in B). Components left out of the mask count as neutral.
#pragma once

#include <cstdint>

namespace tavimor {

// Component mask bits.
inline constexpr int kComponentY = 4;
inline constexpr int kComponentU = 2;
inline constexpr int kComponentV = 1;

struct Rgb {
    int red;
    int green;
    int blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A channel with 20 fractional bits to 0..255.
constexpr int clamp_channel(int32_t value) {
    if (value < 0) return 0;
    if (value >= (1 << 28)) return 255;
    return value >> 20;
}

constexpr Rgb yuv_to_rgb(int y_sample, int u_sample, int v_sample, int component_mask) {
    int32_t y = (component_mask & kComponentY) ? (y_sample - 16) * 1225732 : 0;
    int32_t u = (component_mask & kComponentU) ? (u_sample - 128) * 1170 : 0;
    int32_t v = (component_mask & kComponentV) ? (v_sample - 128) * 1170 : 0;
    return {clamp_channel(y + 1436 * v), clamp_channel(y - 352 * u - 731 * v),
            clamp_channel(y + 1815 * u)};
}

}  // namespace tavimor
