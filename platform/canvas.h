// A surface that lines can be drawn on with a pen: a dialog while it paints,
// or one of the display's surfaces.
#pragma once

#include "platform/colour.h"

namespace tavimor {

class Canvas {
  public:
    virtual ~Canvas() = default;

    // Selects a solid pen; returns the pen that was selected before.
    virtual ColourRef select_pen(ColourRef colour) = 0;
    virtual void move_to(int x, int y) = 0;
    // Draws from the current position to (x, y), leaving (x, y) itself unset,
    // and makes (x, y) the current position.
    virtual void line_to(int x, int y) = 0;
    virtual void set_pixel(int x, int y, ColourRef colour) = 0;
};

}  // namespace tavimor
