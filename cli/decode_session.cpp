#include "cli/decode_session.h"

#include "cli/cli_error.h"
#include "cli/md5.h"
#include "vp8dec/error_codes.h"

namespace tavimor {

DecodeSession::DecodeSession(const std::string& input, int threads, int held_pictures)
    : input_(input) {
    if (!reader_.open(input)) throw InputError("not a readable IVF stream");
    config_.threads = threads;
    config_.held_pictures = held_pictures;
    const bool configured = threads || held_pictures;
    if (vp8::decoder_init(&context_, vp8::vp8_decoder_interface(), configured ? &config_ : nullptr,
                          0, vp8::kDecoderAbiVersion) != vp8::kOk)
        throw InputError("failed to initialize decoder");
    vp8::decoder_set_analysis(&context_, nullptr);
}

DecodeSession::~DecodeSession() {
    vp8::decoder_destroy(&context_);
}

void DecodeSession::set_analysis(vp8::AnalysisContext* analysis) {
    vp8::decoder_set_analysis(&context_, analysis);
}

void DecodeSession::run(const FrameHandler& after, const std::function<bool(int64_t)>& before) {
    std::vector<uint8_t> data;
    int64_t shown = 0;
    for (int64_t index = 0;; ++index) {
        const IvfStatus status = reader_.read_frame(data);
        if (status == IvfStatus::kEnd) return;
        if (status == IvfStatus::kTruncated || status == IvfStatus::kHeaderCut)
            throw InputError("frame " + std::to_string(index) + ": truncated frame");
        if (before && !before(index)) return;
        DecodedFrame frame;
        frame.index = index;
        frame.data = &data;
        const int result = vp8::decoder_decode(&context_, data.data(),
                                               static_cast<uint32_t>(data.size()), nullptr, 0);
        frame.instance = vp8::decoder_instance(&context_);
        if (result != vp8::kOk) {
            frame.failed = true;
            after(frame);
            std::string message =
                "frame " + std::to_string(index) + ": " + vp8::decoder_error_string(&context_);
            if (const char* detail = vp8::decoder_error_detail(&context_))
                message += std::string(": ") + detail;
            throw InputError(message);
        }
        const void* iterator = nullptr;
        frame.record = vp8::decoder_get_frame(&context_, &iterator);
        if (frame.record) frame.picture = shown++;
        after(frame);
    }
}

void for_each_display_row(const vp8::FrameAnalysisRecord& record,
                          const std::function<void(const uint8_t*, size_t)>& fn) {
    const vp8::ImageDescription& image = record.image;
    const int width = image.display_width;
    const int height = image.display_height;
    for (int r = 0; r < height; ++r)
        fn(image.planes[0] + static_cast<size_t>(r) * image.strides[0], static_cast<size_t>(width));
    const int chroma_width = (width + 1) / 2;
    const int chroma_height = (height + 1) / 2;
    for (int plane = 1; plane <= 2; ++plane)
        for (int r = 0; r < chroma_height; ++r)
            fn(image.planes[plane] + static_cast<size_t>(r) * image.strides[plane],
               static_cast<size_t>(chroma_width));
}

void add_display_rows(const vp8::FrameAnalysisRecord& record,
                      std::vector<std::pair<const uint8_t*, size_t>>& rows) {
    for_each_display_row(record,
                         [&](const uint8_t* row, size_t size) { rows.emplace_back(row, size); });
}

std::string picture_md5(const vp8::FrameAnalysisRecord& record) {
    Md5 md5;
    for_each_display_row(record, [&](const uint8_t* row, size_t size) { md5.update(row, size); });
    return md5.hex_digest();
}

}  // namespace tavimor
