// An off-screen surface in memory: rows of pixels of 2, 3 or 4 bytes.
// 4 bytes hold B | G << 8 | R << 16; 3 bytes the bytes B, G, R; 2 bytes
// (B >> 3) | (G >> 2) << 5 | (R >> 3) << 11.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/surface_view.h"

namespace tavimor {

struct Surface {
    int width = 0;
    int height = 0;
    int bytes_per_pixel = 4;
    int pitch = 0;  // bytes per row
    std::vector<uint8_t> pixels;
    // Source colour key (low and high value); kept with the surface, not used
    // by the plain copies of this program.
    uint32_t colour_key_low = 0;
    uint32_t colour_key_high = 0;

    uint8_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * pitch; }
    const uint8_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * pitch; }
    uint8_t* at(int x, int y) { return row(y) + static_cast<size_t>(x) * bytes_per_pixel; }
    const uint8_t* at(int x, int y) const {
        return row(y) + static_cast<size_t>(x) * bytes_per_pixel;
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Sizes the surface (zeroed); false when the size is not positive, the bytes
// per pixel are not 1 to 4, or memory runs out.
bool allocate_surface(Surface& surface, int width, int height, int bytes_per_pixel);

// The raw value stored at (x, y): bytes_per_pixel bytes, little-endian.
uint32_t surface_pixel(const Surface& surface, int x, int y);

// Stores the low bytes_per_pixel bytes of value at (x, y), little-endian.
void put_raw_pixel(Surface& surface, int x, int y, uint32_t value);

SurfaceView view_of(const Surface& surface);

}  // namespace tavimor
