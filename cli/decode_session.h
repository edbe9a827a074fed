// Drives the decoder over every frame of an input stream for a command.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "vp8dec/analysis_context.h"
#include "vp8dec/codec_context.h"
#include "vp8dec/decoder_instance.h"
#include "vp8module/ivf_reader.h"

namespace tavimor {

struct DecodedFrame {
    int64_t index = 0;     // decoded frame, counting from 0
    int64_t picture = -1;  // shown picture, counting from 0; -1 when not shown
    bool failed = false;   // the decoder rejected the frame
    const std::vector<uint8_t>* data = nullptr;
    const vp8::FrameAnalysisRecord* record = nullptr;  // null unless shown
    vp8::DecoderInstance* instance = nullptr;          // null before the first key frame
};

class DecodeSession {
  public:
    // Opens the input; throws InputError when it is not a readable IVF stream.
    // With threads of 2 or more the decoder decodes rows on that many threads;
    // it holds the planes of the last held_pictures shown pictures unchanged
    // (see DecoderConfig).
    explicit DecodeSession(const std::string& input, int threads = 0, int held_pictures = 0);
    DecodeSession(const DecodeSession&) = delete;
    DecodeSession& operator=(const DecodeSession&) = delete;
    ~DecodeSession();

    // Where the decoder writes its analysis; none by default.
    void set_analysis(vp8::AnalysisContext* analysis);
    vp8::CodecContext& context() { return context_; }
    const IvfFileHeader& header() const { return reader_.header(); }

    using FrameHandler = std::function<void(const DecodedFrame&)>;
    // Decodes frame after frame, calling before(index) ahead of each decode
    // (returning false stops the run) and after(frame) once it is done (also
    // for a failed frame). Throws InputError for a truncated frame or a failed
    // decode, after the handler has run.
    void run(const FrameHandler& after, const std::function<bool(int64_t)>& before = {});

  private:
    std::string input_;
    IvfReader reader_;
    vp8::DecoderConfig config_{};
    vp8::CodecContext context_{};
};

// Calls fn with every row of the shown picture's planes at display size
// (Y rows, then U rows, then V rows), each as a pointer and a byte count.
void for_each_display_row(const vp8::FrameAnalysisRecord& record,
                          const std::function<void(const uint8_t*, size_t)>& fn);

// Appends the rows of the shown picture's planes at display size to rows,
// each as a pointer and a byte count.
void add_display_rows(const vp8::FrameAnalysisRecord& record,
                      std::vector<std::pair<const uint8_t*, size_t>>& rows);

// MD5 of the shown picture's planes at display size, as 32 lowercase hex digits.
std::string picture_md5(const vp8::FrameAnalysisRecord& record);

}  // namespace tavimor
