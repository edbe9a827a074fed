// compare, graph and render with an original: the PSNR table scripts read,
// the graph's bars against info's frame sizes, and the original's views.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "display/stream_graph.h"
#include "tests/cli/cli_run.h"
#include "tests/support/json_value.h"
#include "tests/support/png_reader.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "vp8module/stream_survey.h"

namespace tavimor::test {
namespace {

class CompareCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto pictures = decoded_i420_pictures(sample_);
        ASSERT_EQ(pictures.size(), 60u);
        std::string same, pattern;
        for (size_t i = 0; i < pictures.size(); ++i) {
            same += pictures[i];
            std::string changed = pictures[i];
            for (size_t at = 0; at < 320 * 240; at += 10) {
                auto& sample = reinterpret_cast<uint8_t&>(changed[at]);
                sample = sample > 253 ? sample - 2 : sample + 2;
            }
            pattern += i < 30 ? pictures[i] : changed;  // the second half differs
        }
        std::ofstream(same_, std::ios::binary) << same;
        std::ofstream(pattern_, std::ios::binary) << pattern;
        std::ofstream(short_, std::ios::binary) << same.substr(0, same.size() / 60 * 2);
    }
    PngPicture png(const std::string& arguments) {
        const std::string out = folder_.path("out.png");
        const CliResult result = run_cli(arguments + " -o " + out);
        EXPECT_EQ(result.status, 0) << arguments << ": " << result.err;
        EXPECT_TRUE(result.out.empty() && result.err.empty()) << result.err;
        return read_png(read_file(out)).value_or(PngPicture{});
    }

    TempFolder folder_;
    const std::string sample_ = data_path("sample_320x240.ivf");
    const std::string same_ = folder_.path("same.yuv");
    const std::string pattern_ = folder_.path("pattern.yuv");
    const std::string short_ = folder_.path("short.yuv");
};

TEST_F(CompareCommands, ThePsnrTableAsTextAndJson) {
    CliResult result = run_cli("compare " + sample_ + " --ref " + same_);
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> lines = split_lines(result.out);
    ASSERT_EQ(lines.size(), 62u);
    EXPECT_EQ(lines[0], "1\tidentical");
    EXPECT_EQ(lines[59], "60\tidentical");
    EXPECT_EQ(lines[60], "average\tidentical");
    EXPECT_EQ(lines[61], "minimum\tidentical");

    // Pictures 31 to 60 have every tenth luma sample 2 off (see the module's
    // tests for the arithmetic): Y 52.11 dB, U and V equal, all 53.36 dB.
    result = run_cli("compare " + sample_ + " --ref " + pattern_);
    lines = split_lines(result.out);
    ASSERT_EQ(lines.size(), 62u);
    EXPECT_EQ(lines[29], "30\tidentical");
    EXPECT_EQ(lines[30], "31\t52.11\t100.00\t100.00\t53.36");
    EXPECT_EQ(lines[60], "average\t52.11\t100.00\t100.00\t53.36");
    EXPECT_EQ(lines[61], "minimum\t53.36\tpicture 31");

    result = run_cli("compare --json " + sample_ + " --ref " + pattern_);
    const auto json = parse_json(result.out);
    ASSERT_TRUE(json) << result.out;
    const JsonValue& pictures = *json->find("pictures");
    ASSERT_EQ(pictures.items.size(), 60u);
    EXPECT_TRUE(pictures.items[0].find("identical")->boolean);
    EXPECT_TRUE(pictures.items[0].find("y")->is_null());
    EXPECT_FALSE(pictures.items[30].find("identical")->boolean);
    EXPECT_EQ(pictures.items[30].find("picture")->as_int(), 31);
    EXPECT_NEAR(pictures.items[30].find("all")->number, 53.36, 0.005);
    EXPECT_NEAR(json->find("average")->find("y")->number, 52.11, 0.005);
    EXPECT_EQ(json->find("minimum")->find("picture")->as_int(), 31);

    // A shorter original: the pictures it lacks are said to have none.
    result = run_cli("compare " + sample_ + " --ref " + short_);
    lines = split_lines(result.out);
    ASSERT_EQ(lines.size(), 62u);
    EXPECT_EQ(lines[1], "2\tidentical");
    EXPECT_EQ(lines[2], "3\tno original picture");
}

TEST_F(CompareCommands, OriginalsThatDoNotFitAreRefused) {
    const std::string y4m = folder_.path("small.y4m");
    std::ofstream(y4m, std::ios::binary)
        << "YUV4MPEG2 W176 H144 F30:1\nFRAME\n" + std::string(176 * 144 * 3 / 2, 'x');
    for (const std::string& command :
         {std::string("compare "), "graph -o " + folder_.path("g.png") + " "}) {
        const CliResult result = run_cli(command + sample_ + " --ref " + y4m);
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_EQ(result.err, "tavimor-cli: " + sample_ + ": " + y4m +
                                  ": the original is 176x144, the stream 320x240\n");
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(run_cli("compare " + sample_).status, 2);  // --ref is needed
    EXPECT_EQ(run_cli("graph " + sample_).status, 2);    // and -o here
}

TEST_F(CompareCommands, TheGraphsBarsAreTheFrameSizesOfInfo) {
    const auto info = parse_json(run_cli("info --json " + data_path("invisible_96x64.ivf")).out);
    ASSERT_TRUE(info);
    // What info says: each shown picture with the invisible frames before it.
    std::vector<int> sizes;
    int pending = 0;
    for (const JsonValue& frame : info->find("frame_table")->items) {
        pending += static_cast<int>(frame.find("size")->as_int());
        if (frame.find("picture")->is_null()) continue;
        sizes.push_back(pending);
        pending = 0;
    }
    ASSERT_EQ(sizes.size(), 17u);
    const StreamSurvey survey = survey_stream(data_path("invisible_96x64.ivf"));
    StreamGraph graph;
    for (const PictureBits& picture : survey.pictures)
        graph.pictures.push_back({picture.bits, picture.key, {}, false});
    // An area as tall as the largest picture has bits: bar height = bits.
    const int largest = *std::max_element(sizes.begin(), sizes.end()) * 8;
    const std::vector<int> heights = graph_bar_heights(graph, {0, 0, 17, largest});
    ASSERT_EQ(heights.size(), sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) EXPECT_EQ(heights[i], sizes[i] * 8) << i;
    EXPECT_TRUE(survey.pictures[0].key);
    EXPECT_FALSE(survey.pictures[1].key);
}

TEST_F(CompareCommands, TheGraphDrawsThePsnrLineOnlyWithAnOriginal) {
    const auto count = [](const PngPicture& picture, ColourRef colour) {
        const uint32_t packed =
            static_cast<uint32_t>(red_of(colour)) << 16 | green_of(colour) << 8 | blue_of(colour);
        return std::count(picture.pixels.begin(), picture.pixels.end(), packed);
    };
    const PngPicture plain = png("graph " + sample_);
    EXPECT_EQ(plain.width, 700);
    EXPECT_EQ(plain.height, 260);
    EXPECT_GT(count(plain, kGraphKeyBarColour), 0);
    EXPECT_GT(count(plain, kGraphBarColour), 0);
    EXPECT_GT(count(plain, kGraphAverageColour), 0);
    EXPECT_EQ(count(plain, kGraphPsnrColour), 0);
    EXPECT_GT(count(png("graph " + sample_ + " --ref " + pattern_), kGraphPsnrColour), 0);
}

TEST_F(CompareCommands, RenderShowsTheOriginalAndTheDifference) {
    const std::string frame = "render " + sample_ + " --frame 40";
    const PngPicture final_picture = png(frame);
    EXPECT_EQ(png(frame + " --view orig --ref " + same_).pixels, final_picture.pixels);
    const PngPicture same = png(frame + " --view diff --ref " + same_);
    ASSERT_FALSE(same.pixels.empty());
    EXPECT_EQ(std::count(same.pixels.begin(), same.pixels.end(), same.pixels[0]),
              static_cast<long>(same.pixels.size()));
    const PngPicture pattern = png(frame + " --view diff --ref " + pattern_);
    EXPECT_NE(pattern.pixels, same.pixels);
    EXPECT_EQ(pattern.pixels[1], same.pixels[0]) << "only every tenth sample differs";
    // A picture the original lacks is left blank.
    const PngPicture missing = png(frame + " --view orig --ref " + short_);
    EXPECT_EQ(std::count(missing.pixels.begin(), missing.pixels.end(), 0u),
              static_cast<long>(missing.pixels.size()));
}

}  // namespace
}  // namespace tavimor::test
