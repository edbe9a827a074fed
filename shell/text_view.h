// The procedure in front of the text controls of the information dialogs: a
// context menu with "Select All" and, for the pixel text, the font sizes.
#pragma once

#include "platform/handles.h"

namespace tavimor {

struct Shell;

// Puts the text-view procedure in front of the control.
void install_text_view(Shell& shell, WindowHandle control);

}  // namespace tavimor
