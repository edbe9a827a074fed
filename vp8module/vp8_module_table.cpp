// The VP8 module's table, its commands and its after-open layout.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "containers/output_file.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "shell/shell_services.h"
#include "vp8module/information_views.h"
#include "vp8module/original_views.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"
#include "vp8module/yuv_output.h"

namespace tavimor {

namespace {

// "Dump Current Header Tree": the picture's header trace, its depths by
// leading tabs, into a text file the user chooses.
void dump_header_tree(Vp8ModuleState& state) {
    ShellServices& services = shell_services();
    if (!services.platform || !state.record) return;
    FileDialogRequest request;
    request.filters = {{"All", "*.*"}, {"Text", "*.txt"}};
    request.overwrite_prompt = true;
    const std::optional<std::string> path =
        services.platform->save_file_dialog(services.main_window, request);
    if (!path) return;
    const std::string text = header_trace_text(state);
    std::string why;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(open_output_file(*path, "w", why),
                                                         std::fclose);
    if (file) {
        const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
        if (std::fclose(file.release()) == 0 && written) return;
        why = std::strerror(errno);
        discard_output_file(*path);
    }
    services.platform->message_box(services.main_window,
                                   "Failed to write the header tree to " + *path + ": " + why,
                                   "Warning", mb::kOk | mb::kIconError);
}

}  // namespace

int vp8_module_command(WindowHandle, unsigned, int command_id, intptr_t) {
    Vp8ModuleState& state = vp8_module_state();
    if (command_id == cmd::kStartYuvOutput) start_yuv_output(state);
    if (command_id == cmd::kEndYuvOutput) end_yuv_output(state);
    if (command_id == cmd::kDumpHeaderTree) dump_header_tree(state);
    if (command_id == cmd::kOpenReferenceYuv) load_original(state);
    return 0;
}

// The header tree of the picture shown (none yet right after an open: the
// first picture fills it).
void vp8_module_after_open_layout() {
    show_header_tree(vp8_module_state());
}

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
