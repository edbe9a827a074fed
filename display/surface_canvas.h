// Lines and points on a display surface, with the pixel rule of the desktop's
// line drawing: every pixel from the start up to, but not including, the end.
#pragma once

#include "display/surface.h"
#include "platform/canvas.h"
#include "platform/geometry.h"

namespace tavimor {

class SurfaceCanvas : public Canvas {
  public:
    explicit SurfaceCanvas(Surface& surface) : surface_(surface) {}

    ColourRef select_pen(ColourRef colour) override;
    void move_to(int x, int y) override { at_ = {x, y}; }
    void line_to(int x, int y) override;
    void set_pixel(int x, int y, ColourRef colour) override;

  private:
    void plot(int x, int y, ColourRef colour);

    Surface& surface_;
    ColourRef pen_ = 0;
    Point at_;
};

}  // namespace tavimor
