// The main window's procedure: its children at creation, layout, painting,
// scrolling, the playback tick, mouse and keyboard, the view tabs, the
// context menu, dropped files, commands, and its close and destruction.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace tavimor {

struct Shell;

intptr_t main_window_proc(Shell& shell, WindowHandle window, unsigned message, uintptr_t first,
                          intptr_t second);

}  // namespace tavimor
