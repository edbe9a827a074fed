#include "display/surface.h"

#include <cstdint>
#include <new>

namespace tavimor {

bool allocate_surface(Surface& surface, int width, int height, int bytes_per_pixel) {
    if (width <= 0 || height <= 0 || bytes_per_pixel < 1 || bytes_per_pixel > 4) return false;
    size_t pitch = static_cast<size_t>(width) * bytes_per_pixel;
    if (pitch > static_cast<size_t>(INT32_MAX)) return false;
    try {
        surface.pixels.assign(pitch * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        surface.pixels.clear();
        return false;
    }
    surface.width = width;
    surface.height = height;
    surface.bytes_per_pixel = bytes_per_pixel;
    surface.pitch = static_cast<int>(pitch);
    return true;
}

uint32_t surface_pixel(const Surface& surface, int x, int y) {
    const uint8_t* p = surface.at(x, y);
    uint32_t value = 0;
    for (int i = 0; i < surface.bytes_per_pixel; ++i)
        value |= static_cast<uint32_t>(p[i]) << (8 * i);
    return value;
}

void put_raw_pixel(Surface& surface, int x, int y, uint32_t value) {
    uint8_t* p = surface.at(x, y);
    for (int i = 0; i < surface.bytes_per_pixel; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

SurfaceView view_of(const Surface& surface) {
    return {surface.pixels.data(), surface.width, surface.height, surface.pitch,
            surface.bytes_per_pixel};
}

}  // namespace tavimor
