// The colours of the overlays drawn on the picture.
#pragma once

#include "platform/colour.h"
#include "platform/font_request.h"

namespace tavimor {

// Entries 0 to 8 are fixed (green, red, magenta, yellow, blue, cyan, brown,
// teal, dark orange); every other index is computed from the index.
ColourRef overlay_colour(int index);

// The marker on the start point of motion vector lines (cyan).
inline constexpr ColourRef kStartMarkerColour = rgb(0, 255, 255);

// Overlay text: dark red, 10-pixel cells of a roman face.
inline constexpr ColourRef kOverlayTextColour = rgb(128, 0, 0);
inline const FontRequest kOverlayFont = {"Times New Roman", 10, 400, false, false, false, 0x10};

}  // namespace tavimor
