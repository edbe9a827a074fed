#include "shell/module_registry.h"

#include "vp8module/vp8_module.h"

namespace tavimor {

namespace {

// A module table with the flag that says it has been filled.
struct ModuleTable {
    CodecModule table{};
    bool filled = false;
};

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

CodecModule& filled_once(ModuleTable& module, void (*fill)(CodecModule&)) {
    if (!module.filled) {
        fill(module.table);
        module.filled = true;
    }
    return module.table;
}

}  // namespace

CodecModule* createH264Module() {
    static ModuleTable module;
    filled_once(module, fill_absent_module);
    return nullptr;
}

CodecModule* createYuvModule() {
    static ModuleTable module;
    filled_once(module, fill_absent_module);
    return nullptr;
}

CodecModule* createVp8Module() {
    static ModuleTable module;
    return &filled_once(module, fill_vp8_module_table);
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
