// Matroska/WebM files through tavimor-cli: every sample's extracted frames
// and pictures against its checksums, its H.264 track against the expected
// byte stream, and what struct, extract, md5, info and decode make of them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "cli/md5.h"
#include "tests/cli/cli_run.h"
#include "tests/containers/matroska_builder.h"
#include "tests/containers/matroska_run.h"
#include "tests/support/test_paths.h"

namespace tavimor::test {
namespace {

namespace fs = std::filesystem;

std::string without_extension(const std::string& path) {
    return path.substr(0, path.rfind('.'));
}

// One line per frame: its index and the MD5 of its bytes.
std::string frame_md5s(const std::string& ivf) {
    std::string lines;
    int index = 0;
    for (const IvfFrame& frame : ivf_frames(ivf)) {
        Md5 md5;
        md5.update(frame.bytes.data(), frame.bytes.size());
        lines += std::to_string(index++) + " " + md5.hex_digest() + "\n";
    }
    return lines;
}

// A sample beside its expected outputs: X.h264 for an H.264 track, else
// X.frames.md5 (the frames' bytes) and X.md5 (the decoded pictures).
void check_sample(const std::string& input) {
    SCOPED_TRACE(input);
    const std::string base = without_extension(input);
    TempFolder folder;
    const std::string out = folder.path("video");
    const CliResult extracted = run_cli("extract " + input + " -o " + out);
    EXPECT_EQ(extracted.status, 0);
    EXPECT_EQ(extracted.err, "");
    if (fs::exists(base + ".h264")) {
        EXPECT_EQ(read_file(out), read_file(base + ".h264"));
        EXPECT_EQ(run_cli("md5 " + input).err,
                  "tavimor-cli: " + input + ": the Matroska/WebM file's video track is not VP8\n");
    } else {
        const std::string ivf = read_file(out);
        EXPECT_EQ(ivf.substr(0, 4), "DKIF");
        EXPECT_EQ(frame_md5s(ivf), read_file(base + ".frames.md5"));
        EXPECT_EQ(ivf_le32(ivf, 24), ivf_frames(ivf).size());
        EXPECT_EQ(run_cli("md5 " + out).out, read_file(base + ".md5"));
        // md5 takes the container itself as well.
        EXPECT_EQ(run_cli("md5 " + input).out, read_file(base + ".md5"));
    }
    const CliResult structure = run_cli("struct " + input);
    EXPECT_EQ(structure.status, 0);
    EXPECT_EQ(structure.out.rfind("EBML\n\tHeader\n", 0), 0u);
    EXPECT_NE(structure.out.find("\nSegment\n"), std::string::npos);
}

TEST(MatroskaSamples, TheSharedSamplesGiveTheirFramesPicturesAndStreams) {
    if (!corpus_available()) GTEST_SKIP() << "no shared corpus";
    std::vector<std::string> samples = corpus_files("containers", ".webm");
    for (const std::string& mkv : corpus_files("containers", ".mkv")) samples.push_back(mkv);
    ASSERT_GE(samples.size(), 6u);
    for (const std::string& sample : samples) check_sample(sample);
}

TEST(MatroskaSamples, TheBundledSamplesGiveTheirFramesPicturesAndStreams) {
    for (const char* name :
         {"multi_odd_99x77.webm", "vp8_pcm_audio_first_99x77.mkv", "avc_high_176x144_aac.mkv"})
        check_sample(data_path(name));
}

TEST(MatroskaSamples, TheAudioTrackFirstGivesSkippedLinesForItsBlocks) {
    const std::string input = data_path("vp8_pcm_audio_first_99x77.mkv");
    const std::vector<std::string> lines = mkv_text_lines(run_cli("struct " + input).out);
    // Track 1 (PCM): 8 simple blocks and one block in a group; track 2: 10 frames.
    size_t skipped = 0, data = 0;
    for (const std::string& line : lines) {
        if (line.find("\tSkipped ") != std::string::npos) ++skipped;
        if (line.find("\tData(") != std::string::npos) ++data;
    }
    EXPECT_EQ(skipped, 9u);
    EXPECT_EQ(data, 10u);
}

class MatroskaCommands : public testing::Test {
  protected:
    MatroskaCommands() { fs::create_directory(folder_.path("tmp")); }
    CliResult run(const std::string& arguments) const {
        const CliResult result = run_cli(arguments, "TMPDIR=" + folder_.path("tmp"));
        EXPECT_EQ(left_behind(folder_.path("tmp")), "") << arguments;
        return result;
    }
    std::string file(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder_.path(name), std::ios::binary) << bytes;
        return folder_.path(name);
    }
    TempFolder folder_;
};

TEST_F(MatroskaCommands, AWebmFileIsReadByEveryCommandThatTakesIt) {
    const std::string webm = data_path("multi_odd_99x77.webm");
    const CliResult info = run("info --json " + webm);
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("\"input\":\"matroska\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"frames\":10,"), std::string::npos) << info.out;
    // The frame rate reaches the YUV4MPEG2 header through the IVF header.
    const std::string y4m = folder_.path("out.y4m");
    EXPECT_EQ(run("decode " + webm + " -o " + y4m).status, 0);
    EXPECT_EQ(read_file(y4m).rfind("YUV4MPEG2 W99 H77 F30:1 ", 0), 0u);
}

TEST_F(MatroskaCommands, ACutFileGivesOneWarningAndWhatCameBefore) {
    const std::string whole = read_file(data_path("multi_odd_99x77.webm"));
    const std::string cut = file("cut.webm", whole.substr(0, whole.size() * 2 / 3));
    const CliResult extracted = run("extract " + cut + " -o " + folder_.path("cut.ivf"));
    EXPECT_EQ(extracted.status, 0);
    EXPECT_EQ(extracted.err.rfind("tavimor-cli: " + cut + ": warning: the file is cut off", 0), 0u)
        << extracted.err;
    EXPECT_EQ(std::count(extracted.err.begin(), extracted.err.end(), '\n'), 1);
    const std::string ivf = read_file(folder_.path("cut.ivf"));
    const size_t frames = ivf_frames(ivf).size();
    EXPECT_GT(frames, 2u);
    EXPECT_LT(frames, 10u);
    // What was extracted decodes: as many pictures as frames, as in the whole file.
    const CliResult md5 = run("md5 " + cut);
    EXPECT_EQ(md5.status, 0);
    EXPECT_EQ(md5.out, read_file(data_path("multi_odd_99x77.md5")).substr(0, md5.out.size()));
    EXPECT_EQ(std::count(md5.out.begin(), md5.out.end(), '\n'), static_cast<long>(frames));
}

}  // namespace
}  // namespace tavimor::test
