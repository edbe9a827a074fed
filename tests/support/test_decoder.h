// Decoding helpers for tests: the frames of an IVF file, and a decoder whose
// analysis files go to a private temporary folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vp8dec/analysis_context.h"
#include "vp8dec/codec_context.h"
#include "vp8dec/decoder_instance.h"

namespace tavimor::test {

using Frame = std::vector<uint8_t>;

std::vector<Frame> read_ivf_frames(const std::string& path);

// Every shown picture of the IVF stream as I420 bytes at its display size,
// as an original to compare with would hold it.
std::vector<std::string> decoded_i420_pictures(const std::string& path);

class TestDecoder {
  public:
    // With analysis, the trace, record and coefficient files and the three
    // picture captures are written.
    explicit TestDecoder(bool with_analysis = true);
    ~TestDecoder();
    TestDecoder(const TestDecoder&) = delete;
    TestDecoder& operator=(const TestDecoder&) = delete;

    int decode(const Frame& frame);
    // The shown picture of the last decode, or null.
    const vp8::FrameAnalysisRecord* picture() const { return picture_; }
    vp8::DecoderInstance* instance() { return vp8::decoder_instance(&context_); }
    vp8::CodecContext& context() { return context_; }
    std::string error_text() const { return vp8::decoder_error_string(&context_); }
    std::string error_detail() const;

    // The trace text and the record and coefficient bytes written for the last frame.
    std::string last_trace() const;
    std::string last_mbinfo() const;
    std::string last_coefficients() const;
    // Everything in a file so far.
    std::string whole_trace() const;

  private:
    std::string read_range(std::FILE* writer, const std::string& name, int64_t position,
                           int64_t length) const;

    std::string folder_;
    vp8::CodecContext context_{};
    vp8::AnalysisContext analysis_{};
    const vp8::FrameAnalysisRecord* picture_ = nullptr;
    vp8::FrameAnalysisRecord positions_{};
};

}  // namespace tavimor::test
