// tavimor-cli as scripts use it: outputs, messages and exit statuses.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/commands.h"
#include "cli/manual_page.h"
#include "tests/cli/cli_run.h"
#include "tests/support/json_value.h"
#include "tests/support/test_paths.h"

namespace tavimor::test {
namespace {

std::string stream(const std::string& name) {
    return data_path(name + ".ivf");
}

TEST(Cli, HelpVersionAndUsageErrors) {
    const CliResult help = run_cli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: tavimor-cli <command> [options] INPUT"), std::string::npos);
    const CliResult version = run_cli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tavimor-cli 2.00\n");
    for (const std::string& args : std::vector<std::string>{
             "frobnicate x.ivf", "md5", "md5 --bogus " + stream("tiny_1x1"),
             "trace --frames 3-1 " + stream("tiny_1x1"), "trace --frames " + stream("tiny_1x1"),
             "md5 --threads -1 " + stream("tiny_1x1"), "decode " + stream("tiny_1x1")}) {
        const CliResult result = run_cli(args);
        EXPECT_EQ(result.status, 2) << args;
        EXPECT_TRUE(result.out.empty()) << args;
        EXPECT_NE(result.err.find("usage"), std::string::npos) << args;
    }
}

// The help of each command and its manual page come from one table: both list
// every option the parser accepts.
TEST(Cli, HelpAndManualPageListEveryOptionOfEveryCommand) {
    const std::string page = manual_page();
    for (const Command& command : all_commands()) {
        const std::string name = command.name;
        const CliResult help = run_cli("help " + name);
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.out.rfind("usage: tavimor-cli " + std::string(command.usage) + "\n", 0), 0u)
            << name;
        EXPECT_EQ(run_cli(name + " --help").out, help.out) << name;
        EXPECT_NE(page.find(".SS " + name + "\n"), std::string::npos) << name;
        for (const OptionHelp& option : command.options) {
            EXPECT_NE(help.out.find("\n  " + std::string(option.name)), std::string::npos)
                << name << " " << option.name;
            EXPECT_NE(page.find("\\fB" + troff_escape(option.name) + "\\fR"), std::string::npos)
                << name << " " << option.name;
        }
    }
    const CliResult unknown = run_cli("help frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command frobnicate"), std::string::npos);
    EXPECT_EQ(run_cli("help").out, run_cli("--help").out);
}

TEST(Cli, UnreadableInputIsStatusOneWithOneLine) {
    const std::string path = data_path("tiny_1x1.md5");
    const CliResult result = run_cli("md5 " + path);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tavimor-cli: " + path + ": not a readable IVF stream\n");
    EXPECT_TRUE(result.out.empty());
}

TEST(Cli, Md5PrintsTheExpectedLines) {
    for (const char* name : {"tiny_17x9", "all_33x17", "invisible_96x64"}) {
        const CliResult result = run_cli("md5 " + stream(name));
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, read_file(data_path(std::string(name) + ".md5"))) << name;
        EXPECT_EQ(run_cli("md5 --simd 0 " + stream(name)).out, result.out) << name;
    }
}

TEST(Cli, RowThreadsGiveTheSameOutputs) {
    // Four token partitions: rows go to both threads.
    const std::string name = "multi_odd_99x77";
    const CliResult md5 = run_cli("md5 --threads 2 " + stream(name));
    EXPECT_EQ(md5.status, 0);
    EXPECT_EQ(md5.out, read_file(data_path(name + ".md5")));
    TempFolder folder;
    const std::string one = folder.path("one_thread.yuv");
    const std::string two = folder.path("two_threads.yuv");
    EXPECT_EQ(run_cli("decode " + stream(name) + " -o " + one).status, 0);
    EXPECT_EQ(run_cli("decode --threads 2 " + stream(name) + " -o " + two).status, 0);
    EXPECT_EQ(read_file(two), read_file(one));
    EXPECT_FALSE(read_file(one).empty());
    const CliResult bench = run_cli("bench --runs 1 --json --threads 2 " + stream(name));
    EXPECT_EQ(bench.status, 0);
    EXPECT_NE(bench.out.find("\"decoder\":{"), std::string::npos);
}

TEST(Cli, TraceRangesCutTheWholeTrace) {
    const std::string whole = run_cli("trace " + stream("all_33x17")).out;
    const std::string first = run_cli("trace --frames 0-2 " + stream("all_33x17")).out;
    const std::string rest = run_cli("trace --frames 3- " + stream("all_33x17")).out;
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first + rest, whole);
    const std::string single = run_cli("trace --frames 4 " + stream("all_33x17")).out;
    EXPECT_EQ(single.rfind("frame_hdr\n", 0), 0u);
    EXPECT_EQ(single.find("frame_hdr\n", 1), std::string::npos) << "one frame only";
    EXPECT_NE(whole.find(single), std::string::npos);
}

TEST(Cli, ModesRangeGivesTheTruthLines) {
    const std::vector<std::string> truth =
        split_lines(read_file(data_path("resize_64x48.truth.jsonl")));
    const CliResult result = run_cli("modes --frames 5-7 " + stream("resize_64x48"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(split_lines(result.out),
              std::vector<std::string>(truth.begin() + 5, truth.begin() + 8));
}

// Copies an IVF file, letting edit change the bytes of frame `index`.
std::string edited_copy(const TempFolder& folder, const std::string& source, int index,
                        void (*edit)(std::string& frame)) {
    std::string bytes = read_file(source);
    size_t at = 32;
    for (int i = 0; at + 12 <= bytes.size(); ++i) {
        const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + at);
        const size_t size = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<size_t>(p[3]) << 24);
        if (i == index) {
            std::string frame = bytes.substr(at + 12, size);
            edit(frame);
            bytes.replace(at + 12, size, frame);
            break;
        }
        at += 12 + size;
    }
    const std::string path = folder.path("edited.ivf");
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(Cli, CorruptFrameInTheMiddleKeepsWhatCameBefore) {
    TempFolder folder;
    // Frame 5 claims a first partition longer than the frame.
    const std::string path =
        edited_copy(folder, stream("sample_320x240"), 5, [](std::string& frame) {
            frame[1] = static_cast<char>(0xff);
            frame[2] = static_cast<char>(0xff);
        });
    const CliResult result = run_cli("md5 " + path);
    EXPECT_EQ(result.status, 1);
    const std::vector<std::string> expected =
        split_lines(read_file(data_path("sample_320x240.md5")));
    EXPECT_EQ(split_lines(result.out),
              std::vector<std::string>(expected.begin(), expected.begin() + 5));
    EXPECT_EQ(
        result.err,
        "tavimor-cli: " + path +
            ": frame 5: Corrupt frame detected: Truncated packet or corrupt partition 0 length\n");
    // A frame cut short inside the file is reported as truncated.
    const std::string cut = folder.path("cut.ivf");
    const std::string bytes = read_file(stream("tiny_1x1"));
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    const CliResult truncated = run_cli("md5 " + cut);
    EXPECT_EQ(truncated.status, 1);
    EXPECT_EQ(split_lines(truncated.out).size(), 9u);
    EXPECT_NE(truncated.err.find("frame 9: truncated frame"), std::string::npos);
}

TEST(Cli, DecodeWritesY4mRawAndAlignedPictures) {
    TempFolder folder;
    ASSERT_EQ(run_cli("decode " + stream("q95_photo_33x65") + " -o " + folder.path("a.yuv")).status,
              0);
    EXPECT_EQ(read_file(folder.path("a.yuv")).size(), 33u * 65 + 2 * 17u * 33);
    ASSERT_EQ(run_cli("decode " + stream("q95_photo_33x65") + " -o " + folder.path("b.yuv") +
                      " --aligned")
                  .status,
              0);
    EXPECT_EQ(read_file(folder.path("b.yuv")).size(), 48u * 80 * 3 / 2);
    ASSERT_EQ(run_cli("decode " + stream("all_v3_80x80") + " -o " + folder.path("c.y4m")).status, 1)
        << "the stream changes size";
    ASSERT_EQ(run_cli("decode " + stream("invisible_96x64") + " -o " + folder.path("d.y4m")).status,
              0);
    const std::string y4m = read_file(folder.path("d.y4m"));
    EXPECT_EQ(y4m.rfind("YUV4MPEG2 W96 H64 F", 0), 0u);
    const size_t header = y4m.find('\n') + 1;
    EXPECT_EQ(y4m.size(), header + 17 * (6 + 96 * 64 * 3 / 2));
}

}  // namespace
}  // namespace tavimor::test

namespace tavimor::test {
namespace {

TEST(Cli, InfoSummarisesTheStream) {
    const CliResult text = run_cli("info " + stream("invisible_96x64"));
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(
        text.out.rfind(
            "input: ivf\nsize: 96x64\nframes: 24\nshown: 17\nkey frames: 2\ninvisible: 7\n", 0),
        0u)
        << text.out;
    const CliResult json = run_cli("info --json " + stream("all_200x120"));
    EXPECT_EQ(json.status, 0);
    const auto doc = parse_json(json.out);
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->find("input")->text, "ivf");
    EXPECT_EQ(doc->find("width")->as_int(), 200);
    EXPECT_EQ(doc->find("sizes")->items.size(), 4u);
    EXPECT_EQ(doc->find("frames")->as_int(), 30);
    EXPECT_EQ(doc->find("shown")->as_int() + doc->find("invisible")->as_int(), 30);
    const JsonValue& table = *doc->find("frame_table");
    ASSERT_EQ(table.items.size(), 30u);
    int64_t bytes = 0;
    for (const JsonValue& row : table.items) {
        bytes += row.find("size")->as_int();
        if (row.find("type")->text == "K") {
            EXPECT_EQ(row.find("refresh")->items.size(), 3u);
        }
    }
    EXPECT_EQ(doc->find("bytes")->as_int(), bytes);
    EXPECT_EQ(table.items[0].find("picture")->as_int(), 1) << "pictures count from 1";
}

}  // namespace
}  // namespace tavimor::test

namespace tavimor::test {
namespace {

TEST(Cli, BenchReportsBothModes) {
    const CliResult result = run_cli("bench --runs 2 --json --simd 0 " + stream("tiny_17x1"));
    EXPECT_EQ(result.status, 0);
    const auto doc = parse_json(result.out);
    ASSERT_TRUE(doc.has_value()) << result.out;
    EXPECT_EQ(doc->find("frames")->as_int(), 12);
    EXPECT_EQ(doc->find("features")->as_int(), 0);
    for (const char* mode : {"decoder", "analysis"}) {
        const JsonValue& rates = *doc->find(mode);
        EXPECT_GT(rates.find("min")->number, 0);
        EXPECT_LE(rates.find("min")->number, rates.find("median")->number);
        EXPECT_LE(rates.find("median")->number, rates.find("max")->number);
    }
    EXPECT_EQ(run_cli("bench --runs 0 " + stream("tiny_17x1")).status, 2);
}

}  // namespace
}  // namespace tavimor::test
