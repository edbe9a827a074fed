#include "display/overlay_palette.h"
#include "display/overlays.h"
#include "display/surface_canvas.h"

namespace tavimor {

void draw_line(VideoDisplay* display, int x1, int y1, int x2, int y2, ColourRef colour,
               bool mark_start) {
    if (!display || !display->platform || !display->primary || !display->composition) return;
    SurfaceCanvas canvas(*display->composition);
    canvas.select_pen(colour);
    canvas.move_to(x1, y1);
    canvas.line_to(x2, y2);
    if (mark_start) canvas.set_pixel(x1, y1, kStartMarkerColour);
}

}  // namespace tavimor
