#include "containers/demuxer_context.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "containers/context_files.h"
#include "containers/output_file.h"

namespace tavimor {

bool close_checked(std::FILE*& file) {
    if (!file) return true;
    std::FILE* closing = file;
    file = nullptr;
    const bool had_error = std::ferror(closing) != 0;
    if (closing == stdout || closing == stderr) return std::fflush(closing) == 0 && !had_error;
    return std::fclose(closing) == 0 && !had_error;
}

bool names_same_file(const std::string& first, const std::string& second) {
    std::error_code error;
    return std::filesystem::equivalent(first, second, error) && !error;
}

DemuxerContext::~DemuxerContext() {
    for (std::FILE** file :
         {&input, &raw_output, &second_output, &structure_text, &pes_text, &messages})
        close_checked(*file);
}

bool switch_to_codec_output(DemuxerContext& context, int codec_code) {
    if (codec_code != kFoundH264 && codec_code != kFoundVp8) {
        context.failure =
            "the parser found an unknown codec (code " + std::to_string(codec_code) + ")";
        return false;
    }
    if (!context.request.codec_found) {
        // Nobody to ask: the video goes on into the raw output.
        context.codec_code = codec_code;
        context.codec_found = true;
        return true;
    }
    const std::optional<std::string> path = context.request.codec_found(codec_code, "");
    if (!path) {
        context.cancelled = true;
        return false;
    }
    if (names_same_file(*path, context.request.input_path)) {
        context.failure = "the output file " + *path + " would overwrite the container file";
        return false;
    }
    if (!close_checked(context.raw_output)) context.write_failed = true;
    std::string why;
    context.raw_output = open_output_file(*path, "wb", why);
    if (!context.raw_output) {
        context.failure = "the output file " + *path + " could not be created: " + why;
        return false;
    }
    context.codec_code = codec_code;
    context.codec_found = true;
    context.output_path = *path;
    return true;
}

void warn_codec(DemuxerContext& context, const std::string& text) {
    if (context.request.codec_found) context.request.codec_found(0, text);
}

}  // namespace tavimor
