// The three captured pictures and the coefficient file agree with each other
// and with the decoded macroblocks.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "vp8dec/decoder_instance.h"
#include "vp8dec/error_codes.h"
#include "vp8dec/loop_filter.h"

namespace tavimor::test {
namespace {

bool same_area(const vp8::PlanarPicture& a, const vp8::PlanarPicture& b, int x, int y, int w,
               int h) {
    for (int r = 0; r < h; ++r)
        if (std::memcmp(a.luma_rows[y + r] + x, b.luma_rows[y + r] + x, w) != 0) return false;
    for (int plane = 0; plane < 2; ++plane)
        for (int r = 0; r < h / 2; ++r)
            if (std::memcmp(a.chroma_rows[plane][y / 2 + r] + x / 2,
                            b.chroma_rows[plane][y / 2 + r] + x / 2, w / 2) != 0)
                return false;
    return true;
}

bool same_picture(const vp8::PlanarPicture& a, const vp8::PlanarPicture& b) {
    return a.width == b.width && a.height == b.height && same_area(a, b, 0, 0, a.width, a.height);
}

// Splits a frame's coefficient bytes into per-block records; empty on a malformed layout.
std::vector<std::string> coefficient_records(const std::string& bytes) {
    std::vector<std::string> records;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t size = 1 + 3 * static_cast<uint8_t>(bytes[at]);
        if (at + size > bytes.size()) return {};
        records.push_back(bytes.substr(at, size));
        at += size;
    }
    return records;
}

TEST(Captures, PicturesAndCoefficientsAgreeWithTheMacroblocks) {
    int unfiltered = 0, skipped_intra = 0, skipped = 0, without_residual[2] = {0, 0};
    for (const char* name : {"all_200x120", "sample_320x240", "invisible_96x64"}) {
        TestDecoder decoder;
        for (const Frame& frame : read_ivf_frames(data_path(std::string(name) + ".ivf"))) {
            ASSERT_EQ(decoder.decode(frame), vp8::kOk);
            vp8::DecoderInstance& instance = *decoder.instance();
            const vp8::FrameAnalysisRecord& record = *instance.record;
            EXPECT_EQ(record.final_picture.width, instance.mb_cols * 16);
            EXPECT_EQ(record.prelf_picture.height, instance.mb_rows * 16);
            if (instance.loop_filter.filter_level == 0) {
                EXPECT_TRUE(same_picture(record.final_picture, record.prelf_picture)) << name;
                ++unfiltered;
            }
            const std::vector<std::string> blocks =
                coefficient_records(decoder.last_coefficients());
            ASSERT_EQ(blocks.size(), static_cast<size_t>(instance.mb_count) * 24) << name;
            for (int r = 0; r < instance.mb_rows; ++r)
                for (int c = 0; c < instance.mb_cols; ++c) {
                    const vp8::MbAnalysisRecord& mb = *vp8::mb_record(instance, r, c);
                    const size_t first = (static_cast<size_t>(r) * instance.mb_cols + c) * 24;
                    if (mb.skip) {
                        for (size_t b = 0; b < 24; ++b)
                            EXPECT_EQ(blocks[first + b], std::string(1, '\0'));
                        ++skipped;
                    }
                    const bool intra = instance.frame_type == 0 || mb.ref_frame == vp8::INTRA_FRAME;
                    if (mb.skip && intra && mb.mode != vp8::B_PRED) {
                        EXPECT_EQ(mb.has_residual, 0);
                        ++skipped_intra;
                    }
                    // Without a residual the picture before the loop filter
                    // is the prediction, inter or intra, filtered frame or not.
                    if (!mb.has_residual) {
                        EXPECT_TRUE(same_area(record.predicted_picture, record.prelf_picture,
                                              16 * c, 16 * r, 16, 16))
                            << name << " mb " << r << "," << c;
                        ++without_residual[intra];
                    }
                }
        }
    }
    EXPECT_GT(unfiltered, 0);
    EXPECT_GT(skipped_intra, 0);
    EXPECT_GT(skipped, 0);
    EXPECT_GT(without_residual[0], 0);
    EXPECT_GT(without_residual[1], 0);
}

// The picture before the loop filter, copied into a frame of its own size and
// loop-filtered there with the frame's settings.
std::vector<uint8_t> filter_again(vp8::DecoderInstance& instance, const vp8::PlanarPicture& prelf) {
    const int w = prelf.width, h = prelf.height, cw = prelf.chroma_width, ch = prelf.chroma_height;
    std::vector<uint8_t> samples(static_cast<size_t>(w) * h + 2 * static_cast<size_t>(cw) * ch);
    vp8::FrameBuffer frame{};
    frame.y_width = w;
    frame.y_height = h;
    frame.y_stride = w;
    frame.uv_width = cw;
    frame.uv_height = ch;
    frame.uv_stride = cw;
    frame.y = samples.data();
    frame.u = frame.y + static_cast<size_t>(w) * h;
    frame.v = frame.u + static_cast<size_t>(cw) * ch;
    for (int r = 0; r < h; ++r) std::memcpy(frame.y + r * w, prelf.luma_rows[r], w);
    for (int r = 0; r < ch; ++r) {
        std::memcpy(frame.u + r * cw, prelf.chroma_rows[0][r], cw);
        std::memcpy(frame.v + r * cw, prelf.chroma_rows[1][r], cw);
    }
    vp8::prepare_loop_filter(instance);
    for (int row = 0; row < instance.mb_rows; ++row) vp8::filter_mb_row(instance, frame, row);
    return samples;
}

bool same_as_rows(const uint8_t* samples, const vp8::PlanarPicture& picture) {
    for (int r = 0; r < picture.height; ++r, samples += picture.width)
        if (std::memcmp(samples, picture.luma_rows[r], picture.width) != 0) return false;
    for (int plane = 0; plane < 2; ++plane)
        for (int r = 0; r < picture.chroma_height; ++r, samples += picture.chroma_width)
            if (std::memcmp(samples, picture.chroma_rows[plane][r], picture.chroma_width) != 0)
                return false;
    return true;
}

TEST(Captures, FilteringThePictureBeforeTheLoopFilterGivesTheFinalOne) {
    // Odd sizes give chroma rows that start off the 16-byte grid.
    int filtered = 0;
    for (const char* name : {"all_200x120", "sample_320x240", "tiny_17x9", "resize_64x48"}) {
        TestDecoder decoder;
        for (const Frame& frame : read_ivf_frames(data_path(std::string(name) + ".ivf"))) {
            ASSERT_EQ(decoder.decode(frame), vp8::kOk);
            vp8::DecoderInstance& instance = *decoder.instance();
            if (instance.loop_filter.filter_level == 0 || !decoder.picture()) continue;
            const vp8::FrameAnalysisRecord& record = *instance.record;
            EXPECT_TRUE(same_as_rows(filter_again(instance, record.prelf_picture).data(),
                                     record.final_picture))
                << name << " frame " << instance.shown_count;
            ++filtered;
        }
    }
    EXPECT_GT(filtered, 20);
}

TEST(Captures, CoefficientRecordsHoldPositionsAndDequantisedValues) {
    // A key frame of real content: positions increase within a record and the
    // record count per macroblock is 24 (the Y2 block is never written).
    TestDecoder decoder;
    ASSERT_EQ(decoder.decode(read_ivf_frames(data_path("sample_320x240.ivf"))[0]), vp8::kOk);
    const std::vector<std::string> blocks = coefficient_records(decoder.last_coefficients());
    ASSERT_EQ(blocks.size(), 20u * 15u * 24u);
    int values = 0;
    for (const std::string& block : blocks) {
        int last = -1;
        for (size_t i = 1; i < block.size(); i += 3) {
            const int position = static_cast<uint8_t>(block[i]);
            EXPECT_GT(position, last);
            EXPECT_LT(position, 16);
            const auto value = static_cast<int16_t>(static_cast<uint8_t>(block[i + 1]) |
                                                    (static_cast<uint8_t>(block[i + 2]) << 8));
            EXPECT_NE(value, 0) << "only non-zero values are written";
            last = position;
            ++values;
        }
    }
    EXPECT_GT(values, 1000);
}

}  // namespace
}  // namespace tavimor::test

namespace tavimor::test {
namespace {

TEST(Captures, RecordDescribesThePictureOverTheBorderedBuffer) {
    // 17 x 9 decodes into 32 x 16 buffers with a 32-sample border.
    TestDecoder decoder;
    ASSERT_EQ(decoder.decode(read_ivf_frames(data_path("tiny_17x9.ivf"))[0]), vp8::kOk);
    ASSERT_NE(decoder.picture(), nullptr);
    const vp8::ImageDescription& image = decoder.picture()->image;
    EXPECT_EQ(image.format, vp8::kImageFormatI420);
    EXPECT_EQ(image.display_width, 17);
    EXPECT_EQ(image.display_height, 9);
    EXPECT_EQ(image.allocated_width, 32 + 64);
    EXPECT_EQ(image.allocated_height, 16 + 64);
    EXPECT_EQ(image.strides[0], 96);
    EXPECT_EQ(image.strides[1], 16 + 32);
    EXPECT_EQ(image.bits_per_pixel, 12);
    const vp8::FrameBuffer& frame = *decoder.instance()->frame_to_show;
    EXPECT_EQ(image.planes[0], frame.y);
    EXPECT_EQ(frame.y - frame.allocation, 32 * 96 + 32)
        << "the first visible sample after the border";
    EXPECT_EQ(decoder.picture()->final_picture.width, 32);
    EXPECT_EQ(decoder.picture()->final_picture.chroma_height, 8);
}

}  // namespace
}  // namespace tavimor::test
