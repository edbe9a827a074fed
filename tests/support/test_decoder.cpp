#include "tests/support/test_decoder.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "vp8dec/error_codes.h"
#include "vp8module/ivf_reader.h"

namespace tavimor::test {

std::vector<Frame> read_ivf_frames(const std::string& path) {
    std::vector<Frame> frames;
    IvfReader reader;
    if (!reader.open(path)) return frames;
    Frame frame;
    while (reader.read_frame(frame) == IvfStatus::kFrame) frames.push_back(frame);
    return frames;
}

std::vector<std::string> decoded_i420_pictures(const std::string& path) {
    std::vector<std::string> pictures;
    TestDecoder decoder(false);
    for (const Frame& frame : read_ivf_frames(path)) {
        if (decoder.decode(frame) != vp8::kOk || !decoder.picture()) continue;
        const vp8::ImageDescription& image = decoder.picture()->image;
        std::string bytes;
        for (int p = 0; p < 3; ++p) {
            const int width = p ? (image.display_width + 1) / 2 : image.display_width;
            const int height = p ? (image.display_height + 1) / 2 : image.display_height;
            for (int r = 0; r < height; ++r)
                bytes.append(reinterpret_cast<const char*>(image.planes[p]) +
                                 static_cast<size_t>(r) * image.strides[p],
                             static_cast<size_t>(width));
        }
        pictures.push_back(std::move(bytes));
    }
    return pictures;
}

TestDecoder::TestDecoder(bool with_analysis) {
    vp8::decoder_init(&context_, vp8::vp8_decoder_interface(), nullptr, 0, vp8::kDecoderAbiVersion);
    if (!with_analysis) {
        vp8::decoder_set_analysis(&context_, nullptr);
        return;
    }
    char pattern[] = "/tmp/tavimor-test-XXXXXX";
    folder_ = mkdtemp(pattern);
    vp8::open_analysis_files(analysis_, (folder_ + "/framehdr.txt").c_str(),
                             (folder_ + "/mbinfo.bin").c_str(), (folder_ + "/mbcoef.bin").c_str());
    vp8::decoder_set_analysis(&context_, &analysis_);
}

TestDecoder::~TestDecoder() {
    vp8::decoder_destroy(&context_);
    vp8::close_analysis_context(analysis_);
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

int TestDecoder::decode(const Frame& frame) {
    picture_ = nullptr;
    const int64_t trace_start = analysis_.trace_file ? std::ftell(analysis_.trace_file) : 0;
    const int status = vp8::decoder_decode(&context_, frame.data(),
                                           static_cast<uint32_t>(frame.size()), nullptr, 0);
    if (status == vp8::kOk) {
        const void* iterator = nullptr;
        picture_ = vp8::decoder_get_frame(&context_, &iterator);
        if (const vp8::DecoderInstance* decoder = instance(); decoder && decoder->record)
            positions_ = *decoder->record;
    } else {
        // A failed frame's trace runs from where it started to the end of the file.
        if (analysis_.trace_file) std::fflush(analysis_.trace_file);
        positions_.trace_position = trace_start;
        positions_.trace_length =
            analysis_.trace_file ? std::ftell(analysis_.trace_file) - trace_start : 0;
        positions_.mbinfo_length = positions_.coef_length = 0;
    }
    return status;
}

std::string TestDecoder::error_detail() const {
    const char* detail = vp8::decoder_error_detail(&context_);
    return detail ? detail : "";
}

std::string TestDecoder::read_range(std::FILE* writer, const std::string& name, int64_t position,
                                    int64_t length) const {
    if (!writer || length <= 0) return {};
    std::fflush(writer);
    std::FILE* file = std::fopen((folder_ + "/" + name).c_str(), "rb");
    if (!file) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    std::fseek(file, static_cast<long>(position), SEEK_SET);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    return bytes;
}

std::string TestDecoder::last_trace() const {
    return read_range(analysis_.trace_file, "framehdr.txt", positions_.trace_position,
                      positions_.trace_length);
}
std::string TestDecoder::last_mbinfo() const {
    return read_range(analysis_.mbinfo_file, "mbinfo.bin", positions_.mbinfo_position,
                      positions_.mbinfo_length);
}
std::string TestDecoder::last_coefficients() const {
    return read_range(analysis_.coef_file, "mbcoef.bin", positions_.coef_position,
                      positions_.coef_length);
}
std::string TestDecoder::whole_trace() const {
    if (!analysis_.trace_file) return {};
    std::fflush(analysis_.trace_file);
    return read_range(analysis_.trace_file, "framehdr.txt", 0, std::ftell(analysis_.trace_file));
}

}  // namespace tavimor::test
