#include "cli/container_input.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/cli_error.h"
#include "containers/file_kind.h"

namespace tavimor {

namespace {

void warn(const std::string& input, const std::string& text) {
    std::string line = text.empty() ? "the video codec is not one the extraction knows" : text;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    std::fflush(stdout);
    std::fprintf(stderr, "tavimor-cli: %s: warning: %s\n", input.c_str(), line.c_str());
}

}  // namespace

int container_kind_for(const std::string& input) {
    const int kind = container_kind_of(detect_stream_kind(input));
    if (kind < 0)
        throw InputError(
            "not a readable container file (Matroska/WebM, MP4/3GP, MPEG-2 TS or FLV/F4V)");
    return kind;
}

ExtractionResult extract_container(const PrivateFolder& folder, const std::string& input,
                                   int container_kind, const std::string& structure_path,
                                   const std::string& pes_path, const OutputChooser& output_for) {
    ExtractionRequest request;
    request.input_path = input;
    request.raw_output_path = folder.path("raw-output");
    request.structure_path = structure_path;
    request.pes_path = pes_path;
    request.message_path = folder.path("messages.txt");
    request.container_kind = container_kind;
    request.codec_found = [&](int type, const std::string& text) -> std::optional<std::string> {
        if (type == 0) {
            warn(input, text);
            return std::nullopt;
        }
        return output_for(type);
    };
    return run_extraction(request);
}

bool is_matroska(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    unsigned char bytes[4] = {};
    return file && std::fread(bytes, 1, sizeof bytes, file.get()) == sizeof bytes &&
           std::memcmp(bytes, "\x1A\x45\xDF\xA3", sizeof bytes) == 0;
}

StreamInput::StreamInput(const std::string& input) : ivf_path_(input) {
    if (!is_matroska(input)) return;
    folder_.emplace();
    ivf_path_ = folder_->path("track.ivf");
    bool other_codec = false;
    const ExtractionResult result =
        extract_container(*folder_, input, kContainerMkv, "", "", [&](int codec_code) {
            if (codec_code == kFoundVp8) return std::optional<std::string>(ivf_path_);
            other_codec = true;  // nothing to decode: stop here
            return std::optional<std::string>();
        });
    if (other_codec) throw InputError("the Matroska/WebM file's video track is not VP8");
    if (!result.ok) throw InputError(result.failure);
    if (!result.codec_found) throw InputError("the Matroska/WebM file holds no VP8 video track");
}

}  // namespace tavimor
