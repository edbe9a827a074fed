// A view of pixels held by the display, for the window system to paint from.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavimor {

struct SurfaceView {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;            // bytes from one row to the next
    int bytes_per_pixel = 4;  // 4: B | G << 8 | R << 16; 3: B, G, R; 2: 5-6-5
};

// The pixel at (x, y) as 0x00RRGGBB.
inline uint32_t rgb_at(const SurfaceView& view, int x, int y) {
    const uint8_t* p = view.pixels + static_cast<size_t>(y) * view.pitch +
                       static_cast<size_t>(x) * view.bytes_per_pixel;
    if (view.bytes_per_pixel >= 3) return p[0] | p[1] << 8 | p[2] << 16;
    if (view.bytes_per_pixel != 2) return 0;
    unsigned v = p[0] | p[1] << 8;
    return ((v & 31) << 3) | (((v >> 5) & 63) << 2) << 8 | ((v >> 11) << 3) << 16;
}

}  // namespace tavimor
