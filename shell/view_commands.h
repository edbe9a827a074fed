// The view commands: overlays on and off, "MB Type", and the statistics and
// component choices of the context menu.
#pragma once

namespace tavimor {

struct Shell;

// Sets each overlay button (251 to 255) checked exactly while its overlay is
// on, as a newly opened stream's toolbar shows them.
void show_overlay_buttons(Shell& shell);

}  // namespace tavimor
