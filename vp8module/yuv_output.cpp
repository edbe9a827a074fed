#include "vp8module/yuv_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "containers/output_file.h"

#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/menu_templates.h"
#include "shell/shell_services.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

void switch_tools_items(bool output_running) {
    ShellServices& services = shell_services();
    if (!services.platform || services.tools_menu == kNoMenu) return;
    services.platform->enable_menu_item(services.tools_menu, by_position(kStartYuvOutputItem),
                                        !output_running);
    services.platform->enable_menu_item(services.tools_menu, by_position(kEndYuvOutputItem),
                                        output_running);
}

void report(const std::string& text) {
    ShellServices& services = shell_services();
    if (services.platform)
        services.platform->message_box(services.main_window, text, "Warning",
                                       mb::kOk | mb::kIconError);
}

}  // namespace

void append_yuv_output(Vp8ModuleState& state, const vp8::PlanarPicture& picture) {
    std::FILE* out = state.yuv_output;
    if (!out) return;
    bool written = true;
    for (int r = 0; r < picture.height; ++r)
        written &= std::fwrite(picture.luma_rows[r], 1, picture.width, out) ==
                   static_cast<size_t>(picture.width);
    for (int plane = 0; plane < 2 && picture.chroma_rows; ++plane)
        for (int r = 0; r < picture.chroma_height; ++r)
            written &= std::fwrite(picture.chroma_rows[plane][r], 1, picture.chroma_width, out) ==
                       static_cast<size_t>(picture.chroma_width);
    written &= std::fflush(out) == 0;
    if (written) return;
    // A full disk: the output ends with what it holds, and the user is told.
    const std::string why = std::strerror(errno);
    const std::string path = state.yuv_output_path;
    end_yuv_output(state);
    report("Failed to write the YUV output file " + path + " (" + why + "); the output is ended.");
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
    std::string why;
    state.yuv_output = open_output_file(*path, "w+b", why);
    if (!state.yuv_output) {
        // Nothing runs: say so, and "Start" stays offered.
        report("Failed to create the YUV output file " + *path + ": " + why);
        return;
    }
    state.yuv_output_path = *path;
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
