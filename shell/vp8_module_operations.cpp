// The VP8 module before its stream reader exists: it never has a stream open,
// so it opens nothing (silently), ticks and refreshes do nothing, and every
// dialog message is left to the shell. The stream reader replaces these.
#include "shell/vp8_module_operations.h"

namespace tavimor {

namespace {

struct Vp8ModuleState {
    int stream_open = 0;
};

Vp8ModuleState& state() {
    static Vp8ModuleState module_state;
    return module_state;
}

}  // namespace

void vp8_module_open(const char*) {}
int vp8_module_command(WindowHandle, unsigned, int, intptr_t) {
    return 0;
}
void vp8_module_close() {
    state().stream_open = 0;
}
void vp8_module_left_click(unsigned, intptr_t) {}
int vp8_module_tick() {
    return 0;
}
int vp8_module_mouse_move(WindowHandle, intptr_t) {
    return 0;
}
int vp8_module_refresh(int) {
    return 0;
}
int vp8_module_is_open(int) {
    return state().stream_open;
}
intptr_t vp8_module_dialog_filter(WindowHandle, unsigned, uintptr_t, intptr_t) {
    return 1;
}
void vp8_module_after_open_layout() {}
void* vp8_module_state() {
    return &state();
}

}  // namespace tavimor
