// A view of pixels held by the display, for the window system to paint from.
#pragma once

#include <cstdint>

namespace tavimor {

struct SurfaceView {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;            // bytes from one row to the next
    int bytes_per_pixel = 4;  // 4: B | G << 8 | R << 16; 3: B, G, R; 2: 5-6-5
};

}  // namespace tavimor
