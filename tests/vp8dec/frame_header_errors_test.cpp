// Every header failure gives its code, text and detail, stops at once, and
// leaves the decoder able to go on with good frames.
#include <gtest/gtest.h>

#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "vp8dec/decoder_instance.h"
#include "vp8dec/error_codes.h"

namespace tavimor::test {
namespace {

// tiny_1x1 frame 0: a 56-byte key frame with a 21-byte first partition and
// four token partitions of 4 bytes (size table at bytes 31 to 39).
std::vector<Frame> tiny_frames() {
    return read_ivf_frames(data_path("tiny_1x1.ivf"));
}

void set_first_partition_length(Frame& frame, uint32_t length) {
    const uint32_t tag = (frame[0] | (frame[1] << 8) | (frame[2] << 16)) & 0x1f;
    const uint32_t value = tag | (length << 5);
    frame[0] = static_cast<uint8_t>(value);
    frame[1] = static_cast<uint8_t>(value >> 8);
    frame[2] = static_cast<uint8_t>(value >> 16);
}

// A copy of exactly the given bytes, so that any read past them is a read
// outside the allocation.
Frame exact(const Frame& frame, size_t size) {
    return Frame(frame.begin(), frame.begin() + size);
}

TEST(FrameHeaderErrors, TruncatedFirstPartition) {
    Frame key = tiny_frames()[0];
    set_first_partition_length(key, 54);  // 3 + 54 > 56
    TestDecoder decoder;
    EXPECT_EQ(decoder.decode(key), vp8::kErrorCorruptFrame);
    EXPECT_EQ(decoder.error_text(), "Corrupt frame detected");
    EXPECT_EQ(decoder.error_detail(), "Truncated packet or corrupt partition 0 length");
    // Frames too short to hold a tag or a key-frame start are rejected the same way.
    for (size_t size : {size_t{2}, size_t{9}}) {
        TestDecoder short_decoder;
        ASSERT_EQ(short_decoder.decode(tiny_frames()[0]), vp8::kOk);
        EXPECT_EQ(short_decoder.decode(exact(tiny_frames()[0], size)), vp8::kErrorCorruptFrame)
            << size;
    }
}

TEST(FrameHeaderErrors, WrongSyncCodeEndsTheTraceAfterTheKeyFrameLine) {
    const std::vector<Frame> frames = tiny_frames();
    TestDecoder decoder;
    ASSERT_EQ(decoder.decode(frames[0]), vp8::kOk);
    Frame bad = frames[0];
    bad[4] = 0x02;
    EXPECT_EQ(decoder.decode(bad), vp8::kErrorUnsupportedBitstream);
    EXPECT_EQ(decoder.error_text(), "Bitstream not supported by this decoder");
    EXPECT_EQ(decoder.error_detail(), "Invalid frame sync code");
    const std::string trace = decoder.last_trace();
    ASSERT_GE(trace.size(), 15u);
    EXPECT_EQ(trace.substr(0, 10), "frame_hdr\n");
    EXPECT_EQ(trace.substr(trace.size() - 15), "\tif(KEY_FRAME)\n");
    // The next good frame decodes normally.
    EXPECT_EQ(decoder.decode(frames[1]), vp8::kOk);
}

TEST(FrameHeaderErrors, ZeroWidthOrHeightKeepsThePreviousSize) {
    const std::vector<Frame> frames = tiny_frames();
    for (int byte : {6, 8}) {
        TestDecoder decoder;
        ASSERT_EQ(decoder.decode(frames[0]), vp8::kOk);
        const vp8::MbAnalysisRecord* records = decoder.instance()->mode_info;
        Frame bad = frames[0];
        bad[byte] = 0;
        bad[byte + 1] &= 0xc0;  // keep the scale bits, clear the size
        EXPECT_EQ(decoder.decode(bad), vp8::kErrorCorruptFrame);
        EXPECT_EQ(decoder.error_detail(),
                  byte == 6 ? "Invalid frame width" : "Invalid frame height");
        EXPECT_EQ(decoder.instance()->width, 1);
        EXPECT_EQ(decoder.instance()->height, 1);
        EXPECT_EQ(decoder.instance()->mode_info, records) << "no reallocation";
        EXPECT_EQ(decoder.decode(frames[1]), vp8::kOk);
        ASSERT_NE(decoder.picture(), nullptr);
        EXPECT_EQ(decoder.picture()->image.display_width, 1);
    }
}

TEST(FrameHeaderErrors, InterFrameBeforeAnyKeyFrame) {
    const std::vector<Frame> frames = tiny_frames();
    TestDecoder decoder;
    EXPECT_EQ(decoder.decode(frames[1]), vp8::kErrorUnsupportedBitstream);
    EXPECT_EQ(decoder.instance(), nullptr) << "no instance without a key frame";
    EXPECT_EQ(decoder.decode(frames[0]), vp8::kOk) << "the first key frame decodes normally";

    // At the instance: the tag is traced, then the frame fails with code 1 and no detail.
    vp8::DecoderInstance* instance = vp8::create_instance(1, 1, 0);
    ASSERT_NE(instance, nullptr);
    std::FILE* trace = std::tmpfile();
    vp8::AnalysisContext analysis{};
    analysis.trace_file = trace;
    instance->analysis = &analysis;
    EXPECT_EQ(
        vp8::receive_frame(*instance, frames[1].data(), static_cast<uint32_t>(frames[1].size()), 0),
        -1);
    EXPECT_EQ(instance->error.code, vp8::kErrorUnspecified);
    EXPECT_EQ(instance->error.has_detail, 0);
    std::rewind(trace);
    char text[256] = {};
    const size_t n = std::fread(text, 1, sizeof(text) - 1, trace);
    EXPECT_EQ(std::string(text, n),
              "frame_hdr\n\t1 <- frame_type\n\t0 <- version\n\t1 <- show_frame\n"
              "\t94 <- first_partition_length_in_bytes\n");
    std::fclose(trace);
    vp8::destroy_instance(instance);
}

TEST(FrameHeaderErrors, CorruptTokenPartitionLayouts) {
    const Frame key = tiny_frames()[0];
    struct Case {
        const char* what;
        Frame frame;
        const char* detail;
    };
    std::vector<Case> cases;
    Frame second_too_long = key;
    second_too_long[34] = second_too_long[35] = second_too_long[36] = 0xff;
    cases.push_back({"second size runs past the end", second_too_long,
                     "Truncated packet or corrupt partition 2 length"});
    Frame first_too_long = key;
    first_too_long[31] = 30;  // 40 + 30 > 56
    cases.push_back({"first size runs past the end", first_too_long,
                     "Truncated packet or corrupt partition 1 length"});
    cases.push_back(
        {"size table cut short", exact(key, 35), "Truncated packet or corrupt partition 2 length"});
    Frame past_end = key;
    set_first_partition_length(past_end, 50);  // 3 + 50 fits, 10 + 50 does not
    cases.push_back({"first partition ends past the data", past_end,
                     "Truncated packet or corrupt partition 0 length"});
    for (const Case& c : cases) {
        TestDecoder decoder;
        EXPECT_EQ(decoder.decode(c.frame), vp8::kErrorCorruptFrame) << c.what;
        EXPECT_EQ(decoder.error_detail(), c.detail) << c.what;
    }
}

TEST(FrameHeaderErrors, ArgumentsAndInitialisation) {
    vp8::CodecContext context{};
    EXPECT_EQ(vp8::decoder_init(&context, vp8::vp8_decoder_interface(), nullptr, 0, 4),
              vp8::kErrorAbiMismatch);
    EXPECT_EQ(vp8::decoder_init(nullptr, vp8::vp8_decoder_interface(), nullptr, 0,
                                vp8::kDecoderAbiVersion),
              vp8::kErrorInvalidParameter);
    EXPECT_EQ(vp8::decoder_init(&context, vp8::vp8_decoder_interface(), nullptr, 0x100,
                                vp8::kDecoderAbiVersion),
              vp8::kErrorIncapable);
    EXPECT_EQ(vp8::decoder_decode(&context, nullptr, 0, nullptr, 0), vp8::kErrorInvalidParameter);
    EXPECT_EQ(vp8::decoder_destroy(&context), vp8::kErrorUnspecified) << "not initialised";
    EXPECT_EQ(vp8::decoder_destroy(nullptr), vp8::kErrorInvalidParameter);
    EXPECT_STREQ(vp8::decoder_error_string(nullptr), "Invalid parameter");
    EXPECT_STREQ(vp8::error_code_text(9), "End of iterated list");
    EXPECT_STREQ(vp8::error_code_text(10), "Unrecognized error code");
    EXPECT_STREQ(vp8::error_code_text(-1), "Unrecognized error code");

    const uint8_t short_key[9] = {0x10, 0, 0, 0x9d, 0x01, 0x2a, 1, 0, 1};
    EXPECT_EQ(vp8::probe_key_frame(short_key, sizeof(short_key), nullptr),
              vp8::kErrorUnsupportedBitstream);
    const uint8_t zero_size[10] = {0x10, 0, 0, 0x9d, 0x01, 0x2a, 0, 0xc0, 0, 0};
    EXPECT_EQ(vp8::probe_key_frame(zero_size, sizeof(zero_size), nullptr),
              vp8::kErrorUnsupportedBitstream);
    vp8::StreamInfo info{};
    const uint8_t good[10] = {0x10, 0, 0, 0x9d, 0x01, 0x2a, 0x11, 0x40, 0x09, 0};
    EXPECT_EQ(vp8::probe_key_frame(good, sizeof(good), &info), vp8::kOk);
    EXPECT_EQ(info.width, 17) << "the scale bits are not part of the width";
    EXPECT_EQ(info.height, 9);
}

}  // namespace
}  // namespace tavimor::test
