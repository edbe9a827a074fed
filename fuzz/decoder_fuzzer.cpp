// Feeds arbitrary bytes to the decoder as a sequence of frames, with every
// analysis output on: no input may crash it, hang it or read outside a frame.
// The same frames are then decoded again on two row threads, holding the last
// three shown pictures, which must give the same results and pictures, and
// leave each held picture as it was.
#include <cstdint>
#include <cstdio>
#include <deque>
#include <utility>
#include <vector>

#include "vp8dec/analysis_context.h"
#include "vp8dec/codec_context.h"

namespace {

// The input is split into frames by 2-byte little-endian lengths; the frame
// sizes are kept small so that one run explores many frames.
std::vector<std::vector<uint8_t>> split_frames(const uint8_t* data, size_t size) {
    std::vector<std::vector<uint8_t>> frames;
    while (size >= 2 && frames.size() < 16) {
        size_t length = data[0] | (data[1] << 8);
        data += 2;
        size -= 2;
        if (length > size) length = size;
        frames.emplace_back(data, data + length);
        data += length;
        size -= length;
    }
    return frames;
}

// Large pictures would spend the run allocating, decoding and filtering (a
// 16383 x 16383 key frame takes over 256 MB), where small ones reach the same
// code many times faster: a key frame has at most 64 x 64 samples, in any
// shape (16 macroblocks in a row, or 4 x 4).
bool small_enough(const std::vector<uint8_t>& frame) {
    if (frame.size() < 10 || (frame[0] & 1) != 0) return true;
    const int width = (frame[6] | (frame[7] << 8)) & 0x3fff;
    const int height = (frame[8] | (frame[9] << 8)) & 0x3fff;
    return width * height <= 64 * 64;
}

// The rows of a picture at display size.
void append_rows(std::vector<uint8_t>& out, const vp8::ImageDescription& image) {
    const int widths[3] = {image.display_width, (image.display_width + 1) / 2,
                           (image.display_width + 1) / 2};
    const int heights[3] = {image.display_height, (image.display_height + 1) / 2,
                            (image.display_height + 1) / 2};
    for (int plane = 0; plane < 3; ++plane)
        for (int r = 0; r < heights[plane]; ++r) {
            const uint8_t* row =
                image.planes[plane] + static_cast<size_t>(r) * image.strides[plane];
            out.insert(out.end(), row, row + widths[plane]);
        }
}

// Each frame's result, and the rows of each shown picture.
void append_outcome(std::vector<uint8_t>& out, int result, const vp8::FrameAnalysisRecord* record) {
    out.push_back(static_cast<uint8_t>(result));
    if (record) append_rows(out, record->image);
}

constexpr int kHeldPictures = 3;

// The held pictures, each as it was when shown.
class HeldCheck {
  public:
    void check() const {
        for (const auto& [image, rows] : kept_) {
            std::vector<uint8_t> now;
            append_rows(now, image);
            if (now != rows) __builtin_trap();
        }
    }
    void keep(const vp8::FrameAnalysisRecord* record) {
        if (!record) return;
        std::vector<uint8_t> rows;
        append_rows(rows, record->image);
        kept_.emplace_back(record->image, std::move(rows));
        if (kept_.size() > kHeldPictures) kept_.pop_front();
    }

  private:
    std::deque<std::pair<vp8::ImageDescription, std::vector<uint8_t>>> kept_;
};

std::vector<uint8_t> decode_frames(const std::vector<std::vector<uint8_t>>& frames,
                                   vp8::AnalysisContext* analysis, int threads) {
    std::vector<uint8_t> outcome;
    vp8::CodecContext context{};
    const vp8::DecoderConfig config{threads, threads ? kHeldPictures : 0};
    HeldCheck held;
    vp8::decoder_init(&context, vp8::vp8_decoder_interface(), threads ? &config : nullptr, 0,
                      vp8::kDecoderAbiVersion);
    vp8::decoder_set_analysis(&context, analysis);
    for (const std::vector<uint8_t>& frame : frames) {
        if (!small_enough(frame)) continue;
        const int result = vp8::decoder_decode(&context, frame.data(),
                                               static_cast<uint32_t>(frame.size()), nullptr, 0);
        const void* iterator = nullptr;
        const vp8::FrameAnalysisRecord* record =
            result == 0 ? vp8::decoder_get_frame(&context, &iterator) : nullptr;
        append_outcome(outcome, result, record);
        if (threads) {
            held.check();
            held.keep(record);
        }
    }
    vp8::decoder_destroy(&context);
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The analysis files, opened once: they are written, never read back.
    static std::FILE* const trace = std::fopen("/dev/null", "w");
    static std::FILE* const mbinfo = std::fopen("/dev/null", "wb");
    static std::FILE* const coef = std::fopen("/dev/null", "wb");
    vp8::AnalysisContext analysis{};
    analysis.trace_file = trace;
    analysis.mbinfo_file = mbinfo;
    analysis.coef_file = coef;
    analysis.files_open = 1;
    const std::vector<std::vector<uint8_t>> frames = split_frames(data, size);
    const std::vector<uint8_t> analysed = decode_frames(frames, &analysis, 0);
    analysis.trace_file = analysis.mbinfo_file = analysis.coef_file = nullptr;
    vp8::close_analysis_context(analysis);
    if (decode_frames(frames, nullptr, 2) != analysed) __builtin_trap();
    return 0;
}
