#include "shell/video_output_dialog.h"

#include <filesystem>
#include <system_error>

#include "containers/extraction_request.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/dialog_procedure.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

struct CodecOutput {
    const char* extension;
    const char* title;
    FileFilter filter;
};

CodecOutput codec_output(int codec_code) {
    if (codec_code == kFoundVp8) return {".vp8", "Dump VP8 File", {"VP8", "*.vp8"}};
    return {".264", "Dump H.264 File", {"H.264", "*.264"}};
}

std::string field_text(Shell& shell, WindowHandle dialog) {
    return shell.platform.window_text(shell.platform.dialog_item(dialog, ctl::kPathField));
}

void browse(Shell& shell, WindowHandle dialog, int codec_code) {
    FileDialogRequest request;
    request.filters = {{"All", "*.*"}, codec_output(codec_code).filter};
    request.overwrite_prompt = true;
    request.path_must_exist = true;
    request.initial_path = field_text(shell, dialog);
    if (std::optional<std::string> path = shell.platform.save_file_dialog(dialog, request))
        shell.platform.set_window_text(shell.platform.dialog_item(dialog, ctl::kPathField), *path);
}

// Whether the output may go to the path: not the container itself, a path
// that fits, and an existing file only when the user agrees to replace it.
bool acceptable(Shell& shell, WindowHandle dialog, const std::string& container,
                const std::string& path) {
    Platform& platform = shell.platform;
    std::error_code error;
    if (std::filesystem::equivalent(container, path, error)) {
        platform.message_box(dialog, "The video cannot be written over the file it comes from.",
                             "Warning", mb::kOk | mb::kIconError);
        return false;
    }
    if (path.size() >= kPathCapacity) {
        platform.message_box(dialog, "The file name is too long, please select a shorter one",
                             "Warning", mb::kOk | mb::kIconInformation);
        return false;
    }
    if (!std::filesystem::exists(path, error)) return true;
    return platform.message_box(dialog, path + " already exists. Replace it?", "Warning",
                                mb::kYesNo | mb::kIconWarning) == mb::kAnswerYes;
}

}  // namespace

std::string video_output_path(std::string_view container_path, int codec_code) {
    const size_t name = container_path.find_last_of('/');
    const size_t dot = container_path.find_last_of('.');
    const bool has_extension =
        dot != std::string_view::npos && (name == std::string_view::npos || dot > name);
    return std::string(has_extension ? container_path.substr(0, dot) : container_path) +
           codec_output(codec_code).extension;
}

std::optional<std::string> ask_video_output(Shell& shell, const std::string& container_path,
                                            int codec_code) {
    std::string chosen;
    DialogBehaviour behaviour;
    behaviour.initialise = [&](Shell& owner, WindowHandle dialog) {
        const std::string path = video_output_path(container_path, codec_code);
        set_path(view_state().current_stream_path, path);
        owner.platform.set_window_text(dialog, codec_output(codec_code).title);
        owner.platform.set_window_text(owner.platform.dialog_item(dialog, ctl::kPathField), path);
    };
    behaviour.command = [codec_code](Shell& owner, WindowHandle dialog, int id, int) {
        if (id == ctl::kBrowse) browse(owner, dialog, codec_code);
    };
    behaviour.accept = [&](Shell& owner, WindowHandle dialog) {
        std::string path = field_text(owner, dialog);
        if (path.empty()) path = video_output_path(container_path, codec_code);
        if (!acceptable(owner, dialog, container_path, path)) return false;
        chosen = path;
        return true;
    };
    if (run_modal_dialog(shell, "VIDEOOUTPUTDLG", behaviour) != ctl::kOk) return std::nullopt;
    set_path(view_state().current_stream_path, chosen);
    return chosen;
}

}  // namespace tavimor
