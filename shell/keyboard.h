// The keys of the main window: Ctrl+Right and Ctrl+Left step through the
// pictures, the arrow keys move the macroblock selection.
#pragma once

namespace tavimor {

struct Shell;

void on_key_down(Shell& shell, int virtual_key);

}  // namespace tavimor
