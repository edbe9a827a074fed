// Packing a colour into a surface pixel of 1 to 4 bytes.
#pragma once

#include <cstdint>

#include "platform/colour.h"

namespace tavimor {

// The pixel value of (R, G, B) for the bytes per pixel: 4 and 3 bytes
// B | G << 8 | R << 16, 2 bytes 5-6-5, 1 byte the low byte of the colour
// reference.
constexpr uint32_t pack_pixel(int red, int green, int blue, int bytes_per_pixel) {
    switch (bytes_per_pixel) {
        case 4:
        case 3:
            return static_cast<uint32_t>(blue | green << 8 | red << 16);
        case 2:
            return static_cast<uint32_t>((blue >> 3) | (green >> 2) << 5 | (red >> 3) << 11);
        case 1:
            return static_cast<uint32_t>(red);
        default:
            return 0;
    }
}

constexpr uint32_t pack_colour(ColourRef colour, int bytes_per_pixel) {
    return pack_pixel(red_of(colour), green_of(colour), blue_of(colour), bytes_per_pixel);
}

}  // namespace tavimor
