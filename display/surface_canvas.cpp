#include "display/surface_canvas.h"

#include <cstdlib>

#include "display/pixel_format.h"

namespace tavimor {

ColourRef SurfaceCanvas::select_pen(ColourRef colour) {
    ColourRef previous = pen_;
    pen_ = colour;
    return previous;
}

void SurfaceCanvas::plot(int x, int y, ColourRef colour) {
    if (surface_.contains(x, y))
        put_raw_pixel(surface_, x, y, pack_colour(colour, surface_.bytes_per_pixel));
}

void SurfaceCanvas::set_pixel(int x, int y, ColourRef colour) {
    plot(x, y, colour);
}

void SurfaceCanvas::line_to(int x_end, int y_end) {
    // Bresenham's walk from the current position; the end point stays unset.
    long long x = at_.x, y = at_.y;
    long long dx = std::llabs(x_end - x), dy = -std::llabs(y_end - y);
    int step_x = x < x_end ? 1 : -1;
    int step_y = y < y_end ? 1 : -1;
    long long error = dx + dy;
    while (x != x_end || y != y_end) {
        plot(static_cast<int>(x), static_cast<int>(y), pen_);
        long long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += step_x;
        }
        if (twice <= dx) {
            error += dx;
            y += step_y;
        }
    }
    at_ = {x_end, y_end};
}

}  // namespace tavimor
