#include "tests/shell/spy_module.h"

#include <algorithm>

#include "shell/module_registry.h"

namespace tavimor::test {

namespace {

void fill(CodecModule& table) {
    table.open = [](const char* path) {
        SpyModule& spy = SpyModule::instance();
        spy.calls.push_back(std::string("open ") + path);
        spy.opened = spy.open_answer != 0;
    };
    table.command = [](WindowHandle, unsigned message, int id, intptr_t extra) {
        SpyModule& spy = SpyModule::instance();
        spy.calls.push_back("command" + std::to_string(id));
        spy.command_extras.push_back(extra);
        spy.command_messages.push_back(message);
        return 0;
    };
    table.close = [] {
        SpyModule& spy = SpyModule::instance();
        spy.calls.push_back("close");
        spy.opened = false;
    };
    table.left_click = [](unsigned, intptr_t) { SpyModule::instance().calls.push_back("click"); };
    table.tick = [] {
        SpyModule::instance().calls.push_back("tick");
        return 0;
    };
    table.mouse_move = [](WindowHandle, intptr_t) {
        SpyModule::instance().calls.push_back("move");
        return 0;
    };
    table.refresh = [](int full) {
        SpyModule::instance().calls.push_back("refresh" + std::to_string(full));
        return 0;
    };
    table.is_open = [](int) { return SpyModule::instance().opened ? 1 : 0; };
    table.dialog_filter = [](WindowHandle, unsigned, uintptr_t, intptr_t) -> intptr_t { return 1; };
    table.after_open_layout = [] { SpyModule::instance().calls.push_back("layout"); };
    table.state = &SpyModule::instance();
}

}  // namespace

SpyModule& SpyModule::instance() {
    static SpyModule spy;
    return spy;
}

CodecModule* SpyModule::table() {
    static CodecModule table{};
    if (!table.open) fill(table);
    return &table;
}

SpyModule& SpyModule::install() {
    instance() = SpyModule{};
    provide_vp8_module(&SpyModule::table);
    return instance();
}

int SpyModule::count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

}  // namespace tavimor::test
