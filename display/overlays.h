// The drawing primitives of the overlays: rectangle outlines and lines on the
// composition surface, text on the picture surface, and the histogram plot.
// Each does nothing when the display is not bound or lacks its surface.
#pragma once

#include <cstdint>
#include <string_view>

#include "display/video_display.h"
#include "platform/canvas.h"
#include "platform/colour.h"

namespace tavimor {

// The outline of the rectangle (x, y, width, height) without its corners.
// The right and bottom sides lie one pixel outside the area, so that
// neighbouring outlines share sides; they are kept on the surface's last
// column and row.
void draw_rect_outline(VideoDisplay* display, ColourRef colour, int x, int y, int width,
                       int height);

// A line from (x1, y1) to (x2, y2), the end point left unset; with mark_start
// the start pixel is set in the start marker colour.
void draw_line(VideoDisplay* display, int x1, int y1, int x2, int y2, ColourRef colour,
               bool mark_start);

// Text in the overlay style with its top-left corner at (x, y).
void draw_text(VideoDisplay* display, std::string_view text, int x, int y);

// The histogram: red axes from (x, y) down to (x, y_base) and on to
// (x_end, y_base), then the curve of the low 8 bits of the 256 values.
void draw_histogram(Canvas& canvas, int x, int y, int x_end, int y_base, const int32_t values[256]);

}  // namespace tavimor
