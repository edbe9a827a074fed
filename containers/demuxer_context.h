// The demuxer context of one extraction run: the request, the files it
// opened, the input's size, the codec found, and the selected format's state
// and five operations. Parsers receive it in each operation.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "containers/extraction_request.h"

namespace tavimor {

struct DemuxerContext;

// A parser's own state, made zeroed by format selection; parsers derive from it.
struct FormatState {
    virtual ~FormatState() = default;
};

// Results of the format operations.
inline constexpr int kFormatOk = 0;
inline constexpr int kFormatFailed = 1;
inline constexpr int kFormatNoMemory = 2;

using FormatOperation = int (*)(DemuxerContext& context);

// A format: its name for messages, how its state is made, and its five
// operations in the order the run calls them (cleanup when the context goes).
// A null operation does nothing and succeeds.
struct FormatOperations {
    const char* name;  // "MP4/3GP", "MPEG-2 TS", "FLV/F4V", "Matroska/WebM"
    std::unique_ptr<FormatState> (*make_state)();
    FormatOperation setup;
    FormatOperation header;
    FormatOperation middle;
    FormatOperation body;
    FormatOperation cleanup;
};

struct DemuxerContext {
    int container_kind = kContainerMp4;
    int codec_code = kFoundH264;  // a parser sets kFoundVp8 when it finds VP8
    std::FILE* input = nullptr;
    std::FILE* raw_output = nullptr;
    std::FILE* second_output = nullptr;
    std::FILE* structure_text = nullptr;
    std::FILE* pes_text = nullptr;
    std::FILE* messages = nullptr;  // standard output unless the request names a file
    int64_t input_size = 0;
    ExtractionRequest request;
    std::unique_ptr<FormatState> state;
    const FormatOperations* format = nullptr;
    // Set by a parser (or the codec-found step) that must stop the run: why.
    std::string failure;
    bool cancelled = false;     // the user declined to name the output
    bool codec_found = false;   // switch_to_codec_output succeeded
    std::string output_path;    // where the video goes: the raw output until the codec is found
    bool write_failed = false;  // an output closed during the run had lost data

    DemuxerContext() = default;
    DemuxerContext(const DemuxerContext&) = delete;
    DemuxerContext& operator=(const DemuxerContext&) = delete;
    // Closes every file still open (standard output stays open).
    ~DemuxerContext();
};

// Asks the request's callback for the output path of the codec found and
// makes it the raw output: the raw output is closed and the path created for
// writing. Records the codec code, codec_found and the output path. False
// (with the context's failure or cancelled flag set) when there is no path or
// it cannot be created; the parser must then stop. Without a callback the
// video stays in the raw output.
bool switch_to_codec_output(DemuxerContext& context, int codec_code);

// Passes a warning to the request's callback (type 0).
void warn_codec(DemuxerContext& context, const std::string& text);

}  // namespace tavimor
