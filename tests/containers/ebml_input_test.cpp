// The Matroska reader's input: variable-length integers with their
// messages, and the buffered reading, skipping and copying.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/resource.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "containers/matroska/ebml_input.h"
#include "tests/containers/matroska_builder.h"
#include "tests/containers/matroska_run.h"

namespace tavimor::test {
namespace {

using matroska::EbmlInput;
using matroska::Vint;

// A file holding the bytes, and a message stream that collects text.
class MatroskaInput : public testing::Test {
  protected:
    ~MatroskaInput() override {
        if (file_) std::fclose(file_);
        if (messages_) std::fclose(messages_);
        std::free(text_);
    }
    EbmlInput& input(const std::string& bytes, uint64_t size) {
        file_ = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), file_);
        std::rewind(file_);
        messages_ = open_memstream(&text_, &text_size_);
        input_.emplace(file_, size);
        return *input_;
    }
    EbmlInput& input(const std::string& bytes) { return input(bytes, bytes.size()); }
    int read(int max_length, bool keep_marker, Vint& vint) {
        return matroska::read_vint(*input_, max_length, keep_marker, messages_, vint);
    }
    std::string messages() {
        std::fflush(messages_);
        return std::string(text_, text_size_);
    }

    std::FILE* file_ = nullptr;
    std::FILE* messages_ = nullptr;
    char* text_ = nullptr;
    size_t text_size_ = 0;
    std::optional<EbmlInput> input_;
};

TEST_F(MatroskaInput, ReadFailuresSayWhy) {
    input(std::string("\x1A\x45\xDF\xA3\x7F\xFF\x08\x00\x40", 9));
    Vint vint;
    ASSERT_EQ(read(4, true, vint), matroska::kVintOk);
    EXPECT_EQ(vint.value, 0x1A45DFA3u);  // identifiers keep their marker
    ASSERT_EQ(read(8, false, vint), matroska::kVintOk);
    EXPECT_EQ(vint.value, 0x3FFFu);  // sizes do not; all ones: unknown
    EXPECT_TRUE(matroska::is_unknown_size(vint));
    // Five bytes long where identifiers have at most four.
    EXPECT_EQ(read(4, true, vint), matroska::kVintCorrupt);
    EXPECT_EQ(read(8, false, vint), matroska::kVintCorrupt);  // no marker at all
    EXPECT_EQ(read(8, false, vint), matroska::kVintEndInside);
    EXPECT_EQ(read(8, false, vint), matroska::kVintEnd);
    EXPECT_EQ(messages(),
              "Possible bitstream corruption [read ebml num: 5 max: 4 FilePos: 6]\n"
              "Possible bitstream corruption [read ebml num: 9 max: 8 FilePos: 7]\n"
              "End of pipe in read num extended\n"
              "End in read num\n");
}

TEST_F(MatroskaInput, ReadsSkipsAndCopiesAcrossItsBuffer) {
    std::string bytes(700 * 1024, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    EbmlInput& in = input(bytes);
    std::string got(300000, '\0');
    uint8_t* into = reinterpret_cast<uint8_t*>(got.data());
    ASSERT_EQ(in.read(into, 3), 3u);
    in.seek(262140);  // past the first buffer's end
    ASSERT_EQ(in.read(into, 10), 10u);
    EXPECT_EQ(got.substr(0, 10), bytes.substr(262140, 10));
    in.seek(5);  // back again, and a read longer than the buffer
    ASSERT_EQ(in.read(into, got.size()), got.size());
    EXPECT_EQ(got, bytes.substr(5, got.size()));
    EXPECT_EQ(in.position(), 5u + got.size());

    std::FILE* copy = std::tmpfile();
    in.seek(100);
    EXPECT_EQ(in.copy_to(copy, 600000), 600000u);
    EXPECT_EQ(in.copy_to(copy, 1000000), bytes.size() - 600100);  // up to the end
    EXPECT_TRUE(in.at_end());
    std::rewind(copy);
    std::string copied(bytes.size() - 100, '\0');
    EXPECT_EQ(std::fread(copied.data(), 1, copied.size(), copy), copied.size());
    std::fclose(copy);
    EXPECT_EQ(copied, bytes.substr(100));

    in.seek(UINT64_MAX);  // past the end is the end
    EXPECT_EQ(in.position(), bytes.size());
    uint8_t byte = 0;
    EXPECT_FALSE(in.read_byte(byte));
}

TEST_F(MatroskaInput, AFileShorterThanMeasuredEndsWhereItEnds) {
    EbmlInput& in = input("abc", 1000);
    uint8_t got[10];
    EXPECT_EQ(in.read(got, 10), 3u);
    EXPECT_TRUE(in.at_end());
    in.seek(1);
    EXPECT_FALSE(in.at_end());
    EXPECT_EQ(in.read(got, 10), 2u);
}

long peak_memory_kb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(MatroskaLargeFile, AFileOfGigabytesIsSkippedNotRead) {
    // A sparse file of 5 GB: a Void of that size between the tracks and the
    // one cluster. Skipping it costs a seek, not a read into memory.
    MatroskaFolder folder;
    const std::string path = folder.path("large.webm");
    const uint64_t void_size = 5ull << 30;
    using namespace mkv;
    const std::string head = ebml_header() + unknown_size(kSegment) +
                             element(kTracks, track_entry(1, "V_VP8", 33333333, 64, 48)) +
                             id_bytes(kVoid) + vint(void_size, 8);
    const std::string tail = cluster(0, simple_block(1, 0, "the frame"));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(head.data(), 1, head.size(), file);
    ASSERT_EQ(fseeko(file, static_cast<off_t>(head.size() + void_size), SEEK_SET), 0);
    std::fwrite(tail.data(), 1, tail.size(), file);
    ASSERT_EQ(std::fclose(file), 0);

    const long before = peak_memory_kb();
    const MatroskaRun run = folder.run_file(path);
    EXPECT_LT(peak_memory_kb() - before, 64 * 1024) << "kB more at the peak";
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    const std::vector<IvfFrame> frames = ivf_frames(run.output);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes, "the frame");
    // The size prints its low 32 bits (5 GB is 1 GB past 2^32).
    EXPECT_NE(run.structure.find("\tVoid(skipped 1073741824 bytes)\n"), std::string::npos);
}

}  // namespace
}  // namespace tavimor::test
