#include "shell/module_registry.h"

namespace tavimor {

namespace {

ModuleFactory& vp8_factory() {
    static ModuleFactory factory = nullptr;
    return factory;
}

// The modules this edition does not provide: their tables exist and do nothing.
void fill_absent_module(CodecModule& table) {
    table.open = [](const char*) {};
    table.command = [](WindowHandle, unsigned, int, intptr_t) { return 0; };
    table.close = [] {};
    table.left_click = [](unsigned, intptr_t) {};
    table.tick = [] { return 0; };
    table.mouse_move = [](WindowHandle, intptr_t) { return 0; };
    table.refresh = [](int) { return 0; };
    table.is_open = [](int) { return 0; };
    table.dialog_filter = nullptr;
    table.after_open_layout = nullptr;
    table.state = nullptr;
}

// A table of a module that yields nothing, filled on the first call.
void fill_once(CodecModule& table, bool& filled) {
    if (filled) return;
    fill_absent_module(table);
    filled = true;
}

}  // namespace

void provide_vp8_module(ModuleFactory factory) {
    vp8_factory() = factory;
}

CodecModule* createH264Module() {
    static CodecModule table{};
    static bool filled = false;
    fill_once(table, filled);
    return nullptr;
}

CodecModule* createYuvModule() {
    static CodecModule table{};
    static bool filled = false;
    fill_once(table, filled);
    return nullptr;
}

CodecModule* createVp8Module() {
    ModuleFactory factory = vp8_factory();
    return factory ? factory() : nullptr;
}

CodecModule* selectModule(int stream_kind, int codec_code) {
    switch (stream_kind) {
        case kStreamH264AnnexB:
        case kStreamH264Rtp:
            return createH264Module();
        case kStreamYuv:
            return createYuvModule();
        case kStreamVp8:
            return createVp8Module();
        default:  // containers and unknown kinds: by the codec the container flow found
            return codec_code == kCodecVp8 ? createVp8Module() : createH264Module();
    }
}

}  // namespace tavimor
