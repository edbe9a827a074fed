// The hostile inputs of docs/robustness.md, one row each: built here, run
// through tavimor-cli, and answered with the documented status and message,
// promptly and without a crash (the sanitizer build runs these too).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"

namespace tavimor::test {
namespace {

std::string le16(unsigned v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
std::string le32(uint32_t v) {
    return le16(v & 0xFFFF) + le16(v >> 16);
}
std::string be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
            static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}

std::string ivf_header(uint16_t header_size = 32, uint32_t frames = 1) {
    return "DKIF" + le16(0) + le16(header_size) + "VP80" + le16(17) + le16(1) + le32(30) + le32(1) +
           le32(frames) + std::string(4, '\0');
}
std::string ivf_frame(const std::string& data, uint32_t size) {
    return le32(size) + std::string(8, '\0') + data;
}
std::string ivf_frame(const std::string& data) {
    return ivf_frame(data, static_cast<uint32_t>(data.size()));
}

// The frames of a small real stream: a key frame, then inter frames.
const std::vector<std::string>& frames() {
    static const std::vector<std::string> kept = [] {
        std::vector<std::string> all;
        for (const Frame& frame : read_ivf_frames(data_path("tiny_17x1.ivf")))
            all.emplace_back(frame.begin(), frame.end());
        return all;
    }();
    return kept;
}

std::string key_frame_of_size(int width, int height) {
    std::string frame = frames()[0];
    frame[6] = static_cast<char>(width & 0xFF);
    frame[7] = static_cast<char>(width >> 8 & 0x3F);
    frame[8] = static_cast<char>(height & 0xFF);
    frame[9] = static_cast<char>(height >> 8 & 0x3F);
    return frame;
}

std::string random_bytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

std::string mp4_box(const std::string& type, const std::string& payload) {
    return be32(static_cast<uint32_t>(8 + payload.size())) + type + payload;
}

const std::string kEbmlHeader("\x1A\x45\xDF\xA3\x84\x42\x86\x81\x01", 9);
const std::string kUnknownSize("\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8);

struct Row {
    const char* what;
    const char* file_name;
    std::function<std::string()> bytes;
    const char* command;
    int status;
    const char* message;  // a part of standard error; empty: nothing at all
};

const std::vector<Row>& rows() {
    static const std::vector<Row> all = {
        {"an empty file", "empty.ivf", [] { return std::string(); }, "md5", 1,
         "not a readable IVF stream"},
        {"\"DKIF\" only", "dkif.ivf", [] { return std::string("DKIF"); }, "md5", 1,
         "not a readable IVF stream"},
        {"an IVF header claiming a huge header and frame count", "huge-header.ivf",
         [] { return ivf_header(0xFFFF, 0xFFFFFFFF) + ivf_frame(frames()[0]); }, "md5", 0, ""},
        {"a frame size of 0xFFFFFFFF", "frame-size.ivf",
         [] { return ivf_header() + ivf_frame(frames()[0], 0xFFFFFFFF); }, "md5", 1,
         "frame 0: truncated frame"},
        {"a frame size past the end of the file", "frame-past-end.ivf",
         [] {
             return ivf_header() + ivf_frame(frames()[0]) +
                    ivf_frame(frames()[1], static_cast<uint32_t>(frames()[1].size() + 1000));
         },
         "md5", 1, "frame 1: truncated frame"},
        {"an inter frame first", "inter-first.ivf",
         [] { return ivf_header() + ivf_frame(frames()[1]) + ivf_frame(frames()[2]); }, "md5", 1,
         "frame 0: Bitstream not supported by this decoder"},
        {"a key frame of 16383 x 16383", "huge-key.ivf",
         [] { return ivf_header() + ivf_frame(key_frame_of_size(16383, 16383)); }, "info", 0, ""},
        {"a zero-length frame", "zero-length.ivf",
         [] { return ivf_header() + ivf_frame(frames()[0]) + ivf_frame(""); }, "md5", 1,
         "frame 1: Invalid parameter"},
        {"partition sizes past the frame", "partitions.ivf",
         [] {
             std::string frame = frames()[0];
             frame[0] = static_cast<char>(frame[0] | 0xE0);  // first partition size all ones
             frame[1] = static_cast<char>(0xFF);
             frame[2] = static_cast<char>(0xFF);
             return ivf_header() + ivf_frame(frame);
         },
         "md5", 1, "frame 0: Corrupt frame detected"},
        {"random bytes after a valid frame tag", "random-after-tag.ivf",
         [] { return ivf_header() + ivf_frame(frames()[0].substr(0, 10) + random_bytes(3000, 1)); },
         "md5", 1, "frame 0: Corrupt frame detected"},
        {"a size change every frame", "size-changes.ivf",
         [] {
             std::string stream = ivf_header();
             for (int i = 0; i < 40; ++i)
                 stream += ivf_frame(key_frame_of_size(1 + i * 7, 1 + i * 3));
             return stream;
         },
         "info", 0, ""},
        {"10,000 tiny frames", "tiny-frames.ivf",
         [] {
             std::string stream = ivf_header() + ivf_frame(frames()[0]);
             for (int i = 0; i < 10000; ++i) stream += ivf_frame("\x01");
             return stream;
         },
         "md5", 1, "frame 1: Corrupt frame detected"},
        {"Matroska with a 2^56-byte element", "huge-element.mkv",
         [] {
             return kEbmlHeader +
                    std::string("\x18\x53\x80\x67\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFE", 12) +
                    std::string("\x1F\x43\xB6\x75\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFE", 12);
         },
         "struct", 0, "warning: the file is cut off"},
        {"100,000 nested unknown-size elements", "nested.mkv",
         [] {
             std::string file = kEbmlHeader + std::string("\x18\x53\x80\x67", 4) + kUnknownSize;
             for (int i = 0; i < 100000; ++i) file += "\xA0" + kUnknownSize;
             return file;
         },
         "extract", 1, "the file holds no video track the extraction knows"},
        {"an MP4 table claiming 2^31 entries", "huge-table.mp4",
         [] {
             const std::string stsz = mp4_box("stsz", be32(0) + be32(0) + be32(0x80000000u));
             return mp4_box("ftyp", "isom" + be32(0) + "isom") +
                    mp4_box(
                        "moov",
                        mp4_box("trak", mp4_box("mdia", mp4_box("minf", mp4_box("stbl", stsz)))));
         },
         "struct", 0, "warning: Unsupported codec, skipping"},
        {"an MP4 box size smaller than its header", "small-box.mp4",
         [] {
             return mp4_box("ftyp", "isom" + be32(0) + "isom") + be32(4) + "moov" +
                    std::string(32, '\0');
         },
         "extract", 1, "the file holds no video track the extraction knows"},
        {"a TS file of random bytes", "random.ts", [] { return random_bytes(188 * 200, 2); },
         "extract", 1, "the file holds no video track the extraction knows"},
        {"a TS file with garbage before the first sync byte", "garbage.ts",
         [] { return std::string(185, '\x12') + read_file(data_path("avc_main_320x240_aud.ts")); },
         "extract", 0, ""},
        {"an FLV with a tag size past the end", "tag-past-end.flv",
         [] {
             std::string flv = read_file(data_path("avc_high_320x240_2slices.flv")).substr(0, 44);
             flv[14] = flv[15] = flv[16] = '\xFF';  // the first tag's data size
             return flv;
         },
         "extract", 1, "the file holds no video track the extraction knows"},
    };
    return all;
}

TEST(HostileInputs, EachGetsItsAnswerAndNothingCrashes) {
    TempFolder folder;
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.what);
        const std::string input = folder.path(row.file_name);
        std::ofstream(input, std::ios::binary) << row.bytes();
        std::string command = row.command;
        if (command == "extract") command += " -o " + folder.path("out.bin");
        const CliResult result = run_cli(command + " " + input);
        EXPECT_EQ(result.status, row.status) << result.err;
        if (*row.message)
            EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
        else
            EXPECT_EQ(result.err, "");
    }
}

}  // namespace
}  // namespace tavimor::test
