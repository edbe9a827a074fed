#include <algorithm>

#include "display/overlays.h"
#include "display/pixel_format.h"

namespace tavimor {

namespace {

void put(Surface& surface, int x, int y, uint32_t value) {
    if (surface.contains(x, y)) put_raw_pixel(surface, x, y, value);
}

// The far side of an outline: at most the last column (row), 0 when negative.
int far_side(int end, int surface_size) {
    if (end < 0) return 0;
    return std::min(end, surface_size - 1);
}

}  // namespace

void draw_rect_outline(VideoDisplay* display, ColourRef colour, int x, int y, int width,
                       int height) {
    if (!display || !display->platform || !display->primary || !display->composition) return;
    Surface& surface = *display->composition;
    if (surface.bytes_per_pixel < 1 || surface.bytes_per_pixel > 4) return;
    uint32_t value = pack_colour(colour, surface.bytes_per_pixel);
    int right = far_side(x + width, surface.width);
    int bottom = far_side(y + height, surface.height);
    for (int row = y + 1; row <= y + height - 1; ++row) {
        put(surface, x, row, value);
        put(surface, right, row, value);
    }
    for (int column = x + 1; column <= x + width - 1; ++column) {
        put(surface, column, y, value);
        put(surface, column, bottom, value);
    }
}

}  // namespace tavimor
