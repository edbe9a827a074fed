// The container commands (struct, extract) and Matroska/WebM inputs of the
// decoding commands: kinds, messages, exit statuses, and nothing left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "containers/file_kind.h"
#include "containers/format_table.h"
#include "tests/cli/cli_run.h"
#include "tests/support/test_paths.h"

namespace tavimor::test {
namespace {

namespace fs = std::filesystem;

const std::string kMatroskaStart("\x1A\x45\xDF\xA3\x9F\x42\x86\x81\x01", 9);
const std::string kMp4Start(
    "\0\0\0\x18"
    "ftypisom",
    12);

class ContainerCommands : public testing::Test {
  protected:
    ContainerCommands() { fs::create_directory(folder_.path("tmp")); }

    std::string file(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder_.path(name), std::ios::binary) << bytes;
        return folder_.path(name);
    }
    // Runs the command with a temporary directory of its own, which must hold
    // nothing afterwards but the user's private folder, empty.
    CliResult run(const std::string& arguments) const {
        const CliResult result = run_cli(arguments, "TMPDIR=" + folder_.path("tmp"));
        EXPECT_EQ(left_behind(folder_.path("tmp")), "") << arguments;
        return result;
    }
    // How many lines of the text start so.
    static int lines_starting(const std::string& text, const std::string& start) {
        int count = 0;
        for (const std::string& line : split_lines(text)) count += line.rfind(start, 0) == 0;
        return count;
    }
    // The message a run ends with while the kind's format has no parser.
    static std::string no_parser(int container_kind) {
        return std::string(format_name(container_kind)) +
               " files cannot be read by this version yet";
    }

    TempFolder folder_;
};

TEST_F(ContainerCommands, UsageErrorsOfTheNewCommands) {
    const std::string mkv = file("clip.mkv", kMatroskaStart + std::string(64, '\0'));
    for (const std::string& args :
         {std::string("struct"), "extract " + mkv, "extract " + mkv + " -o",
          "struct " + mkv + " -o", "struct --frames 1 " + mkv,
          "struct --pes " + folder_.path("pes.txt") + " " + mkv}) {
        const CliResult result = run(args);
        EXPECT_EQ(result.status, 2) << args;
        EXPECT_TRUE(result.out.empty()) << args;
        EXPECT_NE(result.err.find("usage: tavimor-cli"), std::string::npos) << args;
    }
    EXPECT_FALSE(fs::exists(folder_.path("pes.txt")));
}

TEST_F(ContainerCommands, AContainerKindWithoutAParserEndsWithOneLine) {
    std::string ts(2 * 188, '\0');
    ts[0] = ts[188] = 0x47;
    const std::pair<std::string, int> inputs[] = {
        {file("clip.mkv", kMatroskaStart), kContainerMkv},
        {file("clip.mp4", kMp4Start), kContainerMp4},
        {file("clip.trp", ts), kContainerTs},
        {file("webm-without-extension", kMatroskaStart + std::string(8, '\0')), kContainerMkv},
        {file("ts-without-extension", ts), kContainerTs},
    };
    for (const auto& [input, kind] : inputs) {
        if (find_format(kind)) continue;  // read for real: see matroska_commands_test.cpp
        std::vector<std::string> commands = {"struct", "extract -o " + folder_.path("out.ivf")};
        if (kind == kContainerTs) commands.push_back("struct --pes " + folder_.path("pes.txt"));
        for (const std::string& command : commands) {
            const CliResult result = run(command + " " + input);
            EXPECT_EQ(result.status, 1) << command << " " << input;
            EXPECT_TRUE(result.out.empty()) << command << " " << input;
            EXPECT_EQ(result.err, "tavimor-cli: " + input + ": " + no_parser(kind) + "\n");
            EXPECT_FALSE(fs::exists(folder_.path("out.ivf"))) << "no codec, no output";
        }
    }
}

TEST_F(ContainerCommands, TheDecodingCommandsReadMatroskaByItsContent) {
    // A Matroska/WebM file named as an IVF stream, with no video track.
    const std::string named_ivf = file("named.ivf", kMatroskaStart + std::string(8, '\0'));
    for (const std::string& command :
         {std::string("md5"), std::string("info --json"), "decode -o " + folder_.path("out.yuv")}) {
        const CliResult result = run(command + " " + named_ivf);
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_TRUE(result.out.empty()) << command;
        EXPECT_NE(result.err.find("tavimor-cli: " + named_ivf +
                                  ": the Matroska/WebM file holds no VP8 video track\n"),
                  std::string::npos)
            << result.err;
    }
    EXPECT_FALSE(fs::exists(folder_.path("out.yuv")));
    // A VP8 track, whatever the name.
    const std::string webm = file("also-named.ivf", read_file(data_path("multi_odd_99x77.webm")));
    EXPECT_EQ(run("md5 " + webm).out, read_file(data_path("multi_odd_99x77.md5")));
}

TEST_F(ContainerCommands, FlvFilesGiveTheirStructureAndTheirAvcStream) {
    // Too short for a header or a tag: an empty text, and no video.
    const std::string stub = file("clip.FLV", "FLV\x01\x01");
    CliResult result = run("struct " + stub);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(result.err.empty());
    result = run("extract -o " + folder_.path("out.264") + " " + stub);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "tavimor-cli: " + stub + ": the file holds no video track the extraction knows\n");
    EXPECT_FALSE(fs::exists(folder_.path("out.264")));
    if (!corpus_available()) GTEST_SKIP() << "no shared corpus";

    // Known by its content without an extension.
    const std::string avc = file("flash-without-extension",
                                 read_file(corpus_path("containers/avc_high_320x240_2slices.flv")));
    result = run("struct " + avc);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.err.empty());
    EXPECT_EQ(result.out.rfind("FLV header\n\tSignature   -> FLV\n", 0), 0u);
    // The sample's 47 tags by kind, and its last 4 bytes (a tag's size) no tag.
    EXPECT_EQ(lines_starting(result.out, "tag "), 47);
    EXPECT_EQ(lines_starting(result.out, "\tMeta Data"), 1);
    EXPECT_EQ(lines_starting(result.out, "\tVideo Data"), 18);
    EXPECT_EQ(lines_starting(result.out, "\tAudio Data"), 28);
    EXPECT_EQ(lines_starting(result.out, "\t\t\t\tNALU"), 16);
    EXPECT_TRUE(
        result.out.ends_with("tag 46\n\tPreviousTagSize = 16\n\tTagType = 8\n"
                             "\tDataSize = 10\n\tTimestamp = 603\n"
                             "\tTimestampExtended = 0\n\tStreamID = 0\n\tAudio Data\n"));
    result = run("extract -o " + folder_.path("out.264") + " " + avc);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(read_file(folder_.path("out.264")) ==
                read_file(corpus_path("containers/avc_high_320x240_2slices.h264")))
        << "the extracted stream differs from the sample's";

    // Another video codec: one warning, and no stream to extract.
    const std::string other = corpus_path("containers/noavc_codecid4_176x144_video_only.flv");
    const std::string warning =
        "tavimor-cli: " + other + ": warning: Unsupported codec, skipping\n";
    result = run("struct " + other);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, warning);
    EXPECT_EQ(result.out.rfind("tag 0\n", 0), 0u) << "video only: no header lines";
    EXPECT_EQ(lines_starting(result.out, "tag "), 16);
    EXPECT_EQ(lines_starting(result.out, "\t\tVIDEOPACKET(Not H.264/AVC)"), 15);
    result = run("extract -o " + folder_.path("other.264") + " " + other);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, warning + "tavimor-cli: " + other +
                              ": the file holds no video track the extraction knows\n");
    EXPECT_FALSE(fs::exists(folder_.path("other.264")));
}

TEST_F(ContainerCommands, MpegTsFilesGiveTheirTextsAndOnlyAVideoTheyHold) {
    // Two packets of PID 0 with no payload, by name and by content.
    std::string ts(2 * 188, '\0');
    ts[0] = ts[188] = 0x47;
    const std::string block =
        "\tsync_byte = 0x47\n\ttransport_error_indicator = 0\n\tpayload_unit_start_indicator = 0\n"
        "\ttransport_priority = 0\n\tPID = 0(PAT)\n\ttransport_scrambling_control = 0\n"
        "\tcontinuity_counter = 0\n";
    const std::string text =
        "transport_packet(pos=0x00000000)\n" + block + "transport_packet(pos=0x000000bc)\n" + block;
    for (const std::string& input : {file("clip.trp", ts), file("ts-without-extension", ts)}) {
        CliResult result = run("struct " + input);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, text);
        result = run("struct --pes " + folder_.path("pes.txt") + " -o " + folder_.path("s.txt") +
                     " " + input);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(read_file(folder_.path("s.txt")), text);
        EXPECT_TRUE(fs::exists(folder_.path("pes.txt")));
        EXPECT_EQ(read_file(folder_.path("pes.txt")), "");
        result = run("extract -o " + folder_.path("out.264") + " " + input);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "tavimor-cli: " + input +
                                  ": the file holds no video track the extraction knows\n");
        EXPECT_FALSE(fs::exists(folder_.path("out.264")));
    }
    if (!corpus_available()) return;
    const std::string sample = corpus_path("containers/avc_main_320x240_aud.ts");
    const CliResult result = run("extract -o " + folder_.path("out.264") + " " + sample);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(read_file(folder_.path("out.264")) ==
                read_file(corpus_path("containers/avc_main_320x240_aud.h264")));
}

TEST_F(ContainerCommands, Mp4FileWithoutVideoGivesItsStructureAndAWarning) {
    const std::string input = file("clip.mp4", kMp4Start);
    const std::string warning =
        "tavimor-cli: " + input + ": warning: Unsupported codec, skipping\n";
    const CliResult structure = run("struct " + input);
    EXPECT_EQ(structure.status, 0);
    // The box runs past the end of the file: its header lines only.
    EXPECT_EQ(structure.out, "ftyp\n\tsize = 24\n\ttype = ftyp\n");
    EXPECT_EQ(structure.err, warning);
    const CliResult extracted = run("extract -o " + folder_.path("out.264") + " " + input);
    EXPECT_EQ(extracted.status, 1);
    EXPECT_EQ(extracted.err, warning + "tavimor-cli: " + input +
                                 ": the file holds no video track the extraction knows\n");
    EXPECT_FALSE(fs::exists(folder_.path("out.264")));
}

TEST_F(ContainerCommands, Mp4SamplesGiveTheirExpectedByteStreams) {
    const std::vector<std::string> samples = corpus_files("containers", ".mp4"),
                                   more = corpus_files("containers", ".3gp");
    if (samples.empty() && more.empty()) GTEST_SKIP() << "the shared corpus is not there";
    for (const auto& list : {samples, more})
        for (const std::string& input : list) {
            SCOPED_TRACE(input);
            const CliResult extracted = run("extract " + input + " -o " + folder_.path("out.264"));
            EXPECT_EQ(extracted.status, 0);
            EXPECT_EQ(extracted.err, "");
            const std::string expected = input.substr(0, input.rfind('.')) + ".h264";
            EXPECT_EQ(read_file(folder_.path("out.264")), read_file(expected));
            const CliResult structure = run("struct " + input);
            EXPECT_EQ(structure.status, 0);
            // From the file type box to the media data box, the sample entry six boxes deep.
            EXPECT_TRUE(structure.out.starts_with("ftyp\n\tsize = "));
            EXPECT_NE(structure.out.find("\n\t\t\t\t\t\tavc1\n"), std::string::npos);
            EXPECT_TRUE(structure.out.ends_with("\ttype = mdat\n"));
            EXPECT_EQ(structure.err, "");
        }
}

TEST_F(ContainerCommands, InputsThatAreNoContainerOrWouldBeOverwritten) {
    for (const std::string& input : {data_path("tiny_1x1.ivf"), folder_.path("missing")}) {
        const CliResult result = run("struct " + input);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "tavimor-cli: " + input +
                                  ": not a readable container file (Matroska/WebM, MP4/3GP, "
                                  "MPEG-2 TS or FLV/F4V)\n");
    }
    EXPECT_EQ(run("extract -o x.ivf " + folder_.path("missing.mkv")).err,
              "tavimor-cli: " + folder_.path("missing.mkv") + ": the container file " +
                  folder_.path("missing.mkv") + " could not be opened\n");
    // An output naming the input leaves the input as it was.
    const std::string ivf = file("copy.ivf", read_file(data_path("tiny_1x1.ivf")));
    const CliResult result = run("decode " + ivf + " -o " + ivf);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "tavimor-cli: " + ivf + ": the output file " + ivf + " is the input file\n");
    EXPECT_EQ(read_file(ivf), read_file(data_path("tiny_1x1.ivf")));
}

}  // namespace
}  // namespace tavimor::test
