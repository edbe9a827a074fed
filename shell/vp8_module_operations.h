// The operations of the VP8 module, as its factory puts them in the table.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace tavimor {

void vp8_module_open(const char* path);
int vp8_module_command(WindowHandle window, unsigned message, int command_id, intptr_t extra);
void vp8_module_close();
void vp8_module_left_click(unsigned key_state, intptr_t packed_point);
int vp8_module_tick();
int vp8_module_mouse_move(WindowHandle window, intptr_t packed_point);
int vp8_module_refresh(int full);
int vp8_module_is_open(int ignored);
intptr_t vp8_module_dialog_filter(WindowHandle dialog, unsigned message, uintptr_t first,
                                  intptr_t second);
void vp8_module_after_open_layout();
void* vp8_module_state();

}  // namespace tavimor
