// The VP8 module's operations, in the order of the module table.
#pragma once

#include <cstdint>

#include "platform/handles.h"
#include "shell/codec_module.h"

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

// Fills a module table with the operations above and the state record.
void fill_vp8_module_table(CodecModule& table);

// The VP8 module's factory: fills its table on the first call and returns
// the same table on every call.
CodecModule* create_vp8_module();

}  // namespace tavimor
