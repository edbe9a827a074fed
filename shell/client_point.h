// From a position in the picture to a point of the main window's client area.
#pragma once

#include "platform/geometry.h"

namespace tavimor {

struct ViewState;

// The client point at a picture position: the picture origin added, the
// scroll offsets taken away, y scaled by the vertical zoom.
Point client_point_of(const ViewState& view, int picture_x, int picture_y);

}  // namespace tavimor
