#include "vp8module/yuv_output.h"

#include <cstdio>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "shell/shell_services.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

// "Tools" item 0 starts the output, item 1 ends it.
void switch_tools_items(bool output_running) {
    ShellServices& services = shell_services();
    if (!services.platform || services.tools_menu == kNoMenu) return;
    services.platform->enable_menu_item(services.tools_menu, by_position(0), !output_running);
    services.platform->enable_menu_item(services.tools_menu, by_position(1), output_running);
}

}  // namespace

void append_yuv_output(Vp8ModuleState& state, const vp8::PlanarPicture& picture) {
    if (!state.yuv_output) return;
    for (int r = 0; r < picture.height; ++r)
        std::fwrite(picture.luma_rows[r], 1, picture.width, state.yuv_output);
    for (int plane = 0; plane < 2 && picture.chroma_rows; ++plane)
        for (int r = 0; r < picture.chroma_height; ++r)
            std::fwrite(picture.chroma_rows[plane][r], 1, picture.chroma_width, state.yuv_output);
    std::fflush(state.yuv_output);
}

void start_yuv_output(Vp8ModuleState& state) {
    ShellServices& services = shell_services();
    if (!services.platform) return;
    FileDialogRequest request;
    request.filters = {{"All", "*.*"}};
    request.overwrite_prompt = true;
    const auto path = services.platform->save_file_dialog(services.main_window, request);
    if (!path) return;
    if (state.yuv_output) std::fclose(state.yuv_output);
    state.yuv_output = std::fopen(path->c_str(), "w+b");
    if (!state.yuv_output) {
        // Nothing runs: say so, and "Start" stays offered.
        services.platform->message_box(services.main_window,
                                       "Failed to create the YUV output file " + *path, "Warning",
                                       mb::kOk | mb::kIconError);
        return;
    }
    state.yuv_output_running = true;
    switch_tools_items(true);
}

void end_yuv_output(Vp8ModuleState& state) {
    if (state.yuv_output) std::fclose(state.yuv_output);
    state.yuv_output = nullptr;
    state.yuv_output_running = false;
    switch_tools_items(false);
}

}  // namespace tavimor
