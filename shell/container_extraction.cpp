#include "shell/container_extraction.h"

#include "containers/extraction_run.h"
#include "containers/file_kind.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "shell/shell_services.h"
#include "shell/video_output_dialog.h"
#include "shell/view_state.h"
#include "shell/working_folder.h"

namespace tavimor {

namespace {

// The structure kind a run with syntax parsing leaves, by container kind
// (MP4, TS, FLV, MKV).
constexpr int kStructureKinds[kContainerKinds] = {2, 1, 3, 4};

std::optional<std::string> on_codec_found(Shell& shell, const std::string& container_path, int type,
                                          const std::string& text) {
    if (type == kFoundH264 || type == kFoundVp8) {
        view_state().codec_code = type;
        return ask_video_output(shell, container_path, type);
    }
    shell.platform.message_box(shell.window, text.empty() ? "Invalid Video Codec" : text, "Warning",
                               mb::kOk | mb::kIconInformation);
    return std::nullopt;
}

ExtractionRequest make_request(Shell& shell, const std::string& container_path, int kind) {
    ViewState& view = view_state();
    ExtractionRequest request;
    request.input_path = container_path;
    request.raw_output_path = working_file(kRawOutputName);
    request.container_kind = kind;
    if (view.structure_kind != 0) {
        request.structure_path = working_file(kStructureTextName);
        if (kind == kContainerTs) request.pes_path = working_file(kPesTextName);
        view.structure_kind = kStructureKinds[kind];
    }
    request.codec_found = [&shell, container_path](int type, const std::string& text) {
        return on_codec_found(shell, container_path, type, text);
    };
    return request;
}

}  // namespace

std::string working_file(const std::string& name) {
    ShellServices& services = shell_services();
    if (!services.working_folder)
        services.working_folder =
            WorkingFolder::create(std::string(path_of(view_state().temp_directory)));
    return services.working_folder ? services.working_folder->path() + name : std::string{};
}

FileTypeResult extract_container(Shell& shell, const std::string& container_path) {
    Platform& platform = shell.platform;
    ViewState& view = view_state();
    const ExtractionRequest request =
        make_request(shell, container_path, container_kind_of(view.stream_kind));
    platform.set_cursor(Cursor::kWait);
    const ExtractionResult result =
        request.raw_output_path.empty()
            ? ExtractionResult{false, false, false, 0, {}, "no private working folder can be made"}
            : run_extraction(request);
    platform.set_cursor(Cursor::kArrow);
    // Declined, the codec code stays as the callback set it.
    if (result.cancelled) return {};
    if (result.codec_code == kFoundH264 || result.codec_code == kFoundVp8)
        view.codec_code = result.codec_code;
    if (!result.ok) {
        platform.message_box(shell.window, container_path + ": " + result.failure, "Warning",
                             mb::kOk | mb::kIconError);
        return {false, {}, true};
    }
    return {true, std::string(path_of(view.current_stream_path))};
}

}  // namespace tavimor
