#include "display/overlays.h"

namespace tavimor {

void draw_histogram(Canvas& canvas, int x, int y, int x_end, int y_base,
                    const int32_t values[256]) {
    ColourRef previous = canvas.select_pen(rgb(255, 0, 0));
    canvas.move_to(x, y);
    canvas.line_to(x, y_base);
    canvas.line_to(x_end, y_base);
    // The curve runs from the last value back to the first.
    canvas.move_to(x + 255, y_base - (values[255] & 0xFF));
    for (int i = 255; i >= 1; --i) canvas.line_to(x + i - 1, y_base - (values[i - 1] & 0xFF));
    canvas.select_pen(previous);
}

}  // namespace tavimor
