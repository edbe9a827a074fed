#include "vp8module/stream_survey.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "vp8dec/codec_context.h"
#include "vp8dec/error_codes.h"
#include "vp8module/ivf_reader.h"
#include "vp8module/reference_video.h"

namespace tavimor {

namespace {

// The first byte of a frame: bit 0 clear for a key frame, bit 4 set when shown.
constexpr uint8_t kInterFrameBit = 0x01;
constexpr uint8_t kShowFrameBit = 0x10;

uint32_t little_endian32(const uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Row tables that make a decoded image a picture at its display size.
struct ImagePicture {
    std::vector<uint8_t*> rows[3];
    uint8_t** chroma[2] = {};
    vp8::PlanarPicture picture{};

    explicit ImagePicture(const vp8::ImageDescription& image) {
        const int heights[3] = {image.display_height, (image.display_height + 1) / 2,
                                (image.display_height + 1) / 2};
        for (int p = 0; p < 3; ++p)
            for (int r = 0; r < heights[p]; ++r)
                rows[p].push_back(image.planes[p] + static_cast<size_t>(r) * image.strides[p]);
        chroma[0] = rows[1].data();
        chroma[1] = rows[2].data();
        picture.width = image.display_width;
        picture.height = image.display_height;
        picture.luma_rows = rows[0].data();
        picture.chroma_rows = chroma;
    }
};

}  // namespace

StreamSurvey survey_stream(const std::string& ivf_path) {
    StreamSurvey survey;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(ivf_path.c_str(), "rb"),
                                                         std::fclose);
    uint8_t header[kIvfFileHeaderSize];
    if (!file || std::fread(header, 1, sizeof header, file.get()) != sizeof header ||
        std::memcmp(header, "DKIF", 4) != 0)
        return survey;
    const uint32_t rate = little_endian32(header + 16), scale = little_endian32(header + 20);
    if (rate > 0 && scale > 0) survey.frame_rate = double(rate) / scale;
    std::fseek(file.get(), 0, SEEK_END);
    const int64_t file_size = std::ftell(file.get());
    std::fseek(file.get(), kIvfFileHeaderSize, SEEK_SET);
    // Only each frame's size and first byte are read; the rest is skipped.
    int64_t pending_bits = 0;
    bool pending_key = false;
    uint8_t frame_header[kIvfFrameHeaderSize];
    while (std::fread(frame_header, 1, sizeof frame_header, file.get()) == sizeof frame_header) {
        const uint32_t size = little_endian32(frame_header);
        // A frame cut short by the end of the file is no picture, as for the
        // reader that decodes the stream: the survey ends before it.
        if (int64_t{size} > file_size - std::ftell(file.get())) break;
        const int first = size > 0 ? std::fgetc(file.get()) : 0;
        if (first == EOF || (size > 1 && std::fseek(file.get(), size - 1, SEEK_CUR) != 0)) break;
        if (size == 0) continue;
        pending_bits += int64_t{size} * 8;
        pending_key |= (first & kInterFrameBit) == 0;
        if (!(first & kShowFrameBit)) continue;
        survey.pictures.push_back(
            {static_cast<int>(std::min<int64_t>(pending_bits, INT32_MAX)), pending_key});
        pending_bits = 0;
        pending_key = false;
    }
    return survey;
}

std::optional<std::pair<int, int>> first_picture_size(const std::string& ivf_path) {
    IvfReader reader;
    if (!reader.open(ivf_path)) return std::nullopt;
    std::vector<uint8_t> frame;
    // A key frame: the three-byte tag, the start code 9D 01 2A, then the
    // 14-bit width and height (each with two scaling bits above).
    constexpr size_t kSizeEnd = 10;
    while (reader.read_frame(frame) == IvfStatus::kFrame) {
        if (frame.size() < kSizeEnd || (frame[0] & kInterFrameBit) || frame[3] != 0x9D ||
            frame[4] != 0x01 || frame[5] != 0x2A)
            continue;
        return std::make_pair((frame[6] | frame[7] << 8) & 0x3FFF,
                              (frame[8] | frame[9] << 8) & 0x3FFF);
    }
    return std::nullopt;
}

StreamPsnr compare_stream(const std::string& ivf_path, ReferenceVideo& original) {
    StreamPsnr result;
    IvfReader reader;
    vp8::CodecContext decoder{};
    if (!reader.open(ivf_path) || vp8::decoder_init(&decoder, vp8::vp8_decoder_interface(), nullptr,
                                                    0, vp8::kDecoderAbiVersion) != vp8::kOk)
        return result;
    vp8::decoder_set_analysis(&decoder, nullptr);
    vp8::PlanarPicture picture{};
    vp8::allocate_planar_picture(picture, original.width(), original.height(),
                                 (original.width() + 1) / 2, (original.height() + 1) / 2);
    std::vector<uint8_t> frame;
    while (reader.read_frame(frame) == IvfStatus::kFrame &&
           vp8::decoder_decode(&decoder, frame.data(), static_cast<uint32_t>(frame.size()), nullptr,
                               0) == vp8::kOk) {
        const void* iterator = nullptr;
        const vp8::FrameAnalysisRecord* shown = vp8::decoder_get_frame(&decoder, &iterator);
        if (!shown) continue;
        const int n = static_cast<int>(result.pictures.size());
        const vp8::ImageDescription& image = shown->image;
        if (image.display_width != original.width() || image.display_height != original.height() ||
            !original.read(n, picture)) {
            result.pictures.emplace_back();
            continue;
        }
        result.pictures.push_back(picture_psnr(ImagePicture(image).picture, picture,
                                               original.width(), original.height()));
    }
    vp8::release_planar_picture(picture);
    vp8::decoder_destroy(&decoder);
    return result;
}

}  // namespace tavimor
