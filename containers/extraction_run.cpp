#include "containers/extraction_run.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <utility>

#include "containers/context_files.h"
#include "containers/demuxer_context.h"
#include "containers/format_table.h"
#include "containers/output_file.h"

namespace tavimor {

namespace {

// Opens one of the files the request names for writing. False with the
// failure set when it cannot be created or would overwrite the input.
bool open_output(DemuxerContext& context, std::FILE*& file, const std::string& path,
                 const char* mode, const char* what, std::string& failure) {
    if (names_same_file(path, context.request.input_path)) {
        failure = std::string("the ") + what + " " + path + " would overwrite the container file";
        return false;
    }
    std::string why;
    file = open_output_file(path, mode, why);
    if (!file) {
        failure = std::string("the ") + what + " " + path + " could not be created: " + why;
        return false;
    }
    return true;
}

// The input, the raw output and the files the request names. False with the
// failure set when one cannot be opened; the context closes what was opened.
bool open_files(DemuxerContext& context, std::string& failure) {
    const ExtractionRequest& request = context.request;
    std::error_code error;
    const bool folder = std::filesystem::is_directory(request.input_path, error);
    context.input = folder ? nullptr : std::fopen(request.input_path.c_str(), "rb");
    if (!context.input) {
        failure = "the container file " + request.input_path + " could not be opened";
        return false;
    }
    if (std::fseek(context.input, 0, SEEK_END) != 0) {
        failure = "the container file " + request.input_path + " could not be read";
        return false;
    }
    const long size = std::ftell(context.input);
    if (size < 0 || std::fseek(context.input, 0, SEEK_SET) != 0) {
        failure = "the container file " + request.input_path + " could not be read";
        return false;
    }
    context.input_size = size;
    if (!open_output(context, context.raw_output, request.raw_output_path, "wb", "output file",
                     failure))
        return false;
    struct Optional {
        std::FILE*& file;
        const std::string& path;
        const char* mode;
        const char* what;
    };
    const Optional optional[] = {
        {context.second_output, request.second_output_path, "wb", "second output file"},
        {context.structure_text, request.structure_path, "w", "structure text file"},
        {context.pes_text, request.pes_path, "w", "PES text file"},
        {context.messages, request.message_path, "w", "message file"},
    };
    for (const Optional& file : optional)
        if (!file.path.empty() &&
            !open_output(context, file.file, file.path, file.mode, file.what, failure))
            return false;
    if (!context.messages) context.messages = stdout;
    return true;
}

// The selected format's state, or the failure.
bool select_format(DemuxerContext& context, const FormatOperations* format, std::string& failure) {
    const int kind = context.container_kind;
    if (kind < 0 || kind >= kContainerKinds) {
        failure = "the container kind " + std::to_string(kind) + " is unknown";
        return false;
    }
    if (!format) {
        failure = std::string(format_name(kind)) + " files cannot be read by this version yet";
        return false;
    }
    context.format = format;
    try {
        context.state = format->make_state ? format->make_state() : std::make_unique<FormatState>();
    } catch (const std::bad_alloc&) {
        context.state.reset();
    }
    if (!context.state) {
        failure = std::string("not enough memory to read the ") + format->name + " file";
        return false;
    }
    return true;
}

enum class Stop { kNone, kFailed, kCancelled };

// Calls setup, header, middle and body in turn until one stops the run.
Stop run_operations(DemuxerContext& context, std::string& failure) {
    const FormatOperations& format = *context.format;
    const std::pair<FormatOperation, const char*> steps[] = {
        {format.setup, "setup"},
        {format.header, "header"},
        {format.middle, "middle"},
        {format.body, "body"},
    };
    for (const auto& [operation, step] : steps) {
        if (!operation) continue;
        int result = kFormatFailed;
        std::string thrown;
        try {
            result = operation(context);
        } catch (const std::bad_alloc&) {
            result = kFormatNoMemory;
        } catch (const std::exception& error) {
            thrown = error.what();
        }
        if (context.cancelled) return Stop::kCancelled;
        if (result == kFormatOk && thrown.empty() && context.failure.empty()) continue;
        failure = std::string("the ") + format.name + " parser " +
                  (result == kFormatNoMemory ? "ran out of memory" : "failed") + " in its " + step +
                  " step";
        for (const std::string* detail : {&context.failure, &thrown})
            if (!detail->empty()) failure += ": " + *detail;
        return Stop::kFailed;
    }
    return Stop::kNone;
}

// Closes every file, reporting lost output data when the run had gone well.
void close_files(DemuxerContext& context, std::string& failure) {
    close_checked(context.input);
    if (context.messages == stdout) {
        // The process's own standard output: what becomes of it is not the run's to judge.
        std::fflush(stdout);
        context.messages = nullptr;
    }
    const std::pair<std::FILE**, const char*> outputs[] = {
        {&context.raw_output, "the extracted stream"},
        {&context.second_output, "the extracted stream"},
        {&context.structure_text, "the structure text"},
        {&context.pes_text, "the PES text"},
        {&context.messages, "the messages"},
    };
    std::string lost;
    if (context.write_failed) lost = "the extracted stream";
    for (const auto& [file, what] : outputs)
        if (!close_checked(*file) && lost.empty()) lost = what;
    if (failure.empty() && !lost.empty()) failure = lost + " could not be written completely";
}

}  // namespace

ExtractionResult run_extraction(const ExtractionRequest& request) {
    return run_extraction(request, find_format(request.container_kind));
}

ExtractionResult run_extraction(const ExtractionRequest& request, const FormatOperations* format) {
    DemuxerContext context;
    context.request = request;
    context.container_kind = request.container_kind;
    context.codec_code = kFoundH264;
    context.output_path = request.raw_output_path;

    std::string failure;
    Stop stop = Stop::kFailed;
    if (open_files(context, failure) && select_format(context, format, failure))
        stop = run_operations(context, failure);
    if (stop == Stop::kCancelled) failure.clear();

    close_files(context, failure);
    if (context.format && context.format->cleanup && context.state) {
        try {
            context.format->cleanup(context);
        } catch (const std::exception&) {
            // The run's outcome is settled; the state goes below all the same.
        }
    }
    context.state.reset();

    ExtractionResult result;
    result.cancelled = stop == Stop::kCancelled;
    result.ok = !result.cancelled && failure.empty();
    result.failure = result.cancelled ? std::string() : failure;
    result.codec_found = context.codec_found;
    result.codec_code = context.codec_code;
    result.output_path = context.output_path;
    return result;
}

}  // namespace tavimor
