// Where dialogs go: at the centre of the main window's client area, or at the
// places the after-open layout gives the information dialogs.
#pragma once

#include "platform/handles.h"

namespace tavimor {

struct Shell;

// Places the dialog's window at the centre of the main window's client area.
void centre_dialog(Shell& shell, WindowHandle dialog);

// Moves the dialog so that its top-left corner is at the client point of the
// main window, keeping its size (height: its own when 0 or less).
void place_dialog(Shell& shell, WindowHandle dialog, int client_x, int client_y, int height = 0);

}  // namespace tavimor
