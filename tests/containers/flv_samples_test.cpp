// The FLV samples of the shared corpus (skipped without it): the extracted
// stream byte for byte against the one beside each sample, and the tags the
// structure text lists against the sample's description.
#include <gtest/gtest.h>

#include <filesystem>

#include "containers/flv/flv_format.h"
#include "tests/containers/flv_run.h"

namespace tavimor::test {
namespace {

// The shared corpus beside the checkout.
std::filesystem::path samples_folder() {
#ifdef TAVIMOR_VECTORS_DIR
    return std::filesystem::path(TAVIMOR_VECTORS_DIR) / "containers";
#else
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path() /
           "shared" / "vectors" / "containers";
#endif
}

size_t count_lines(const std::string& text, const std::string& line) {
    size_t count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        if (at == 0 || text[at - 1] == '\n') ++count;
    return count;
}

class FlvSamples : public testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(samples_folder()))
            GTEST_SKIP() << "no shared corpus at " << samples_folder();
        flv::set_flv_session({});
    }
    void TearDown() override { flv::set_flv_session({}); }

    static std::string sample(const std::string& name) { return samples_folder() / name; }

    FlvFolder folder_;
};

TEST_F(FlvSamples, AvcWithAudioGivesItsStreamByteForByte) {
    const FlvRun run = folder_.run_file(sample("avc_high_320x240_2slices.flv"));
    EXPECT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_TRUE(run.result.codec_found);
    EXPECT_EQ(run.asked, std::vector<int>{kFoundH264});
    const std::string expected = flv_file_contents(sample("avc_high_320x240_2slices.h264"));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(run.output == expected) << "the extracted stream differs from the sample's";
    EXPECT_EQ(run.structure.rfind("FLV header\n\tSignature   -> FLV\n\tVersion = 1\n", 0), 0u);
    EXPECT_NE(run.structure.find("\tTypeFlagsAudio = 1\n"), std::string::npos);
    EXPECT_NE(run.structure.find("\tDataOffset = 9\n"), std::string::npos);
    EXPECT_EQ(count_lines(run.structure, "tag "), 47u);
    EXPECT_EQ(count_lines(run.structure, "\tMeta Data\n"), 1u);
    EXPECT_EQ(count_lines(run.structure, "\tVideo Data\n"), 18u);
    EXPECT_EQ(count_lines(run.structure, "\tAudio Data\n"), 28u);
    EXPECT_EQ(count_lines(run.structure, "\t\t\t\tseqence header\n"), 1u);
    EXPECT_EQ(count_lines(run.structure, "\t\t\t\tNALU\n"), 16u);
    EXPECT_EQ(count_lines(run.structure, "\t\t\t\tend of sequence\n"), 1u);
    EXPECT_TRUE(run.structure.ends_with("\tAudio Data\n"));
}

TEST_F(FlvSamples, VideoOnlyWithoutAvcGivesNoStreamAndOneWarning) {
    const FlvRun run = folder_.run_file(sample("noavc_codecid4_176x144_video_only.flv"));
    EXPECT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_FALSE(run.result.codec_found);
    EXPECT_TRUE(run.asked.empty());
    EXPECT_EQ(run.warnings, std::vector<std::string>{"Unsupported codec, skipping"});
    EXPECT_EQ(run.raw, flv_file_contents(sample("noavc_codecid4_176x144_video_only.h264")));
    EXPECT_EQ(run.structure.find("FLV header"), std::string::npos);
    EXPECT_EQ(run.structure.rfind("tag 0\n", 0), 0u);
    EXPECT_EQ(count_lines(run.structure, "tag "), 16u);
    EXPECT_EQ(count_lines(run.structure, "\t\tCodecIC = 4\n"), 15u);
    EXPECT_EQ(count_lines(run.structure, "\t\tVIDEOPACKET(Not H.264/AVC)\n"), 15u);
}

}  // namespace
}  // namespace tavimor::test
