// The tip window as a service for the module: one text shown near the mouse.
#pragma once

#include <string_view>

#include "platform/geometry.h"

namespace tavimor {

struct Shell;

// Shows the text for a client point of the main window: tracking starts on
// first use, a point equal to the last one is ignored, otherwise the text is
// set and the tip follows to (x + 10, y - 20) on the screen.
void show_tip(Shell& shell, std::string_view text, Point client);

// Deactivates the tip (when the tip window exists).
void hide_tip(Shell& shell);

}  // namespace tavimor
