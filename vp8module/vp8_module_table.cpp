// The VP8 module's table, its commands and its after-open layout.
#include "resources/command_ids.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"
#include "vp8module/yuv_output.h"

namespace tavimor {

int vp8_module_command(WindowHandle, unsigned, int command_id, intptr_t) {
    Vp8ModuleState& state = vp8_module_state();
    if (command_id == cmd::kStartYuvOutput) start_yuv_output(state);
    if (command_id == cmd::kEndYuvOutput) end_yuv_output(state);
    return 0;
}

// The header tree of the shown picture comes with the information views; until
// then the header dialog stays empty after an open.
void vp8_module_after_open_layout() {}

void fill_vp8_module_table(CodecModule& table) {
    table.open = vp8_module_open;
    table.command = vp8_module_command;
    table.close = vp8_module_close;
    table.left_click = vp8_module_left_click;
    table.tick = vp8_module_tick;
    table.mouse_move = vp8_module_mouse_move;
    table.refresh = vp8_module_refresh;
    table.is_open = vp8_module_is_open;
    table.dialog_filter = vp8_module_dialog_filter;
    table.after_open_layout = vp8_module_after_open_layout;
    table.state = &vp8_module_state();
}

CodecModule* create_vp8_module() {
    static CodecModule table{};
    static bool filled = false;
    if (!filled) {
        fill_vp8_module_table(table);
        filled = true;
    }
    return &table;
}

}  // namespace tavimor
