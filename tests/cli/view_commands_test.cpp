// summary, mbinfo and render: what the analyser window shows for picture N,
// byte for byte, with the messages and exit statuses scripts rely on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "cli/module_session.h"
#include "display/yuv_to_rgb.h"
#include "tests/cli/cli_run.h"
#include "tests/support/json_value.h"
#include "tests/support/png_reader.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "tests/support/truth_texts.h"

namespace tavimor::test {
namespace {

std::string stream(const std::string& name) {
    return data_path(name + ".ivf");
}

// Renders with a temporary directory of its own, which must hold nothing
// afterwards but the user's empty private folder.
PngPicture rendered(const TempFolder& folder, const std::string& arguments) {
    const std::string out = folder.path("out.png"), temp = folder.path("tmp");
    std::filesystem::remove(out);
    std::filesystem::create_directory(temp);
    const CliResult result = run_cli("render " + arguments + " -o " + out, "TMPDIR=" + temp);
    EXPECT_EQ(result.status, 0) << arguments << ": " << result.err;
    EXPECT_TRUE(result.out.empty() && result.err.empty()) << arguments << ": " << result.err;
    EXPECT_EQ(left_behind(temp), "") << arguments;
    const auto picture = read_png(read_file(out));
    EXPECT_TRUE(picture.has_value()) << arguments;
    return picture.value_or(PngPicture{});
}

uint32_t packed(const Rgb& colour) {
    return static_cast<uint32_t>(colour.red) << 16 | colour.green << 8 | colour.blue;
}

TEST(ViewCommands, SummaryAndDumpsAreTheModulesOwnBytes) {
    // Picture 3 of a stream with frames that are not shown: pictures count
    // shown ones, as the status label does.
    const CliResult summary = run_cli("summary --frame 3 " + stream("invisible_96x64"));
    EXPECT_EQ(summary.status, 0) << summary.err;
    EXPECT_EQ(summary.out.rfind("Picture No\t\t: 3\r\n", 0), 0u);
    const CliResult coef =
        run_cli("mbinfo " + stream("invisible_96x64") + " --frame 3 --type pixel --view coef");
    const CliResult final_type2 =
        run_cli("mbinfo " + stream("invisible_96x64") + " --frame 3 --type coef");
    const CliResult final_type1 =
        run_cli("mbinfo " + stream("invisible_96x64") + " --frame 3 --type pixel --view final");
    {
        ModuleSession session(stream("invisible_96x64"));
        EXPECT_EQ(coef.out, session.dump_picture(3, 1, 4));
        EXPECT_EQ(summary.out, session.summary_text());
    }
    EXPECT_EQ(
        coef.out.rfind("\n+++++++++++++++++ Frame=2 +++++++++++++++++\r\nFrame 2, MB 0(0, 0)", 0),
        0u);
    EXPECT_NE(coef.out.find("====================== V Data"), std::string::npos);
    // Types 1 and 2 both write the text of the pixel dialog's tab.
    EXPECT_EQ(final_type2.out, final_type1.out);
    EXPECT_NE(final_type2.out, coef.out);

    // The Pred Info dump of a picture as its truth file says it reads.
    const auto truth = read_truth(data_path("all_33x17.truth.jsonl"));
    ASSERT_TRUE(truth.has_value());
    for (int picture : {1, 7}) {
        const CliResult pred =
            run_cli("mbinfo --frame " + std::to_string(picture) + " " + stream("all_33x17"));
        EXPECT_EQ(pred.status, 0);
        EXPECT_EQ(pred.out, truth_pred_dump(*truth, picture)) << "picture " << picture;
    }
}

TEST(ViewCommands, UsageErrorsMissingPicturesAndUnusableOriginals) {
    TempFolder folder;
    const std::string tiny = stream("tiny_1x1");
    const std::string out = " -o " + folder.path("x.png");
    for (const std::string& args : std::vector<std::string>{
             "summary " + tiny, "summary --frame 0 " + tiny, "summary --frame two " + tiny,
             "summary --frame 1 --type pred " + tiny, "mbinfo --frame 1 --type dct " + tiny,
             "mbinfo --frame 1 --view orig " + tiny, "render --frame 1 " + tiny,
             "render --frame 1 --overlay rect,grid" + out + " " + tiny,
             "render --frame 1 --components y,," + out + " " + tiny,
             "render --frame 1 --bitplanes 256" + out + " " + tiny,
             "render --frame 1 --bitplanes 0x1g" + out + " " + tiny,
             "render --frame 1 --mb 1" + out + " " + tiny,
             "render --frame 1 --mb -1,0" + out + " " + tiny,
             "render --frame 1 --stats psnr" + out + " " + tiny,
             "render --frame 1 --view coef" + out + " " + tiny,
             "render --frame 1 --view orig" + out + " " + tiny}) {
        const CliResult result = run_cli(args);
        EXPECT_EQ(result.status, 2) << args;
        EXPECT_TRUE(result.out.empty()) << args;
        EXPECT_NE(result.err.find("usage: tavimor-cli"), std::string::npos) << args;
    }
    // Status 1 with one line: the input cannot give what was asked.
    const std::vector<std::pair<std::string, std::string>> failures = {
        {"summary --frame 11 " + tiny, "there is no picture 11: the stream has 10 pictures"},
        {"mbinfo --frame 12 " + tiny, "there is no picture 12: the stream has 10 pictures"},
        {"render --frame 1 --mb 1,0" + out + " " + tiny,
         "macroblock 1,0 lies outside the picture of 1x1 macroblocks"},
        {"render --frame 1 --ref " + data_path("tiny_1x1.md5") + out + " " + tiny,
         data_path("tiny_1x1.md5") + ": the file's size is no whole number of 1x1 I420 pictures"},
        {"summary --frame 1 " + data_path("tiny_1x1.md5"), "not a readable IVF stream"},
        {"render --frame 1 -o " + tiny + " " + tiny,
         "the output file " + tiny + " is the input file"},
    };
    for (const auto& [args, message] : failures) {
        const std::string input = args.substr(args.rfind(' ') + 1);
        const CliResult result = run_cli(args);
        EXPECT_EQ(result.status, 1) << args;
        EXPECT_TRUE(result.out.empty()) << args;
        EXPECT_EQ(result.err, "tavimor-cli: " + input + ": " + message + "\n") << args;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path("x.png")));
    // A Matroska/WebM input goes through the extraction as md5's does.
    const std::string mkv = folder.path("clip.mkv");
    std::ofstream(mkv, std::ios::binary)
        << std::string("\x1A\x45\xDF\xA3\x9F\x42\x86\x81\x01", 9) + std::string(64, '\0');
    const CliResult from_mkv = run_cli("summary --frame 1 " + mkv);
    EXPECT_EQ(from_mkv.status, 1);
    EXPECT_EQ(from_mkv.err, run_cli("md5 " + mkv).err);
    EXPECT_EQ(read_file(tiny).substr(0, 4), "DKIF") << "the input is left alone";

    // A frame cut short: what the analyser says, on standard error only.
    const std::string bytes = read_file(tiny);
    const std::string cut = folder.path("cut.ivf");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    const CliResult truncated = run_cli("summary --frame 10 " + cut);
    EXPECT_EQ(truncated.status, 1);
    EXPECT_TRUE(truncated.out.empty()) << truncated.out;
    EXPECT_EQ(truncated.err,
              "tavimor-cli: " + cut + ": picture 10: Frame 10 failed to read complete frame\n");
    EXPECT_EQ(run_cli("summary --frame 9 " + cut).status, 0);
}

TEST(ViewCommands, RenderGivesThePicturesPixelsAndTheOverlaysWhereTheWindowDrawsThem) {
    TempFolder folder;
    const std::string sample = stream("sample_320x240");
    const PngPicture plain = rendered(folder, "--frame 2 " + sample);
    ASSERT_EQ(plain.width, 320);
    ASSERT_EQ(plain.height, 240);
    {
        // The pixels of picture 2 through the display's conversion.
        TestDecoder decoder;
        int shown = 0;
        for (const Frame& frame : read_ivf_frames(sample)) {
            ASSERT_EQ(decoder.decode(frame), 0);
            if (decoder.picture() && ++shown == 2) break;
        }
        const vp8::PlanarPicture& picture = decoder.picture()->final_picture;
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {17, 33}, {319, 239}})
            EXPECT_EQ(plain.at(x, y), packed(yuv_to_rgb(picture.luma_rows[y][x],
                                                        picture.chroma_rows[0][y / 2][x / 2],
                                                        picture.chroma_rows[1][y / 2][x / 2], 7)))
                << x << "," << y;
    }
    // The selected macroblock's outline, in blue, and nothing else changed.
    const PngPicture selected = rendered(folder, "--frame 2 --overlay rect --mb 1,1 " + sample);
    std::set<std::pair<int, int>> outline;
    for (int i = 17; i <= 31; ++i)
        for (const auto& point :
             {std::pair{16, i}, std::pair{32, i}, std::pair{i, 16}, std::pair{i, 32}})
            outline.insert(point);
    ASSERT_EQ(selected.pixels.size(), plain.pixels.size());
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            if (outline.count({x, y}))
                EXPECT_EQ(selected.at(x, y), 0x0000FFu) << x << "," << y;
            else
                ASSERT_EQ(selected.at(x, y), plain.at(x, y)) << x << "," << y;
        }
}

TEST(ViewCommands, RenderChoicesOfComponentsBitPlanesOverlaysAndSize) {
    TempFolder folder;
    const std::string sample = stream("sample_320x240");
    const PngPicture plain = rendered(folder, "--frame 1 " + sample);
    const PngPicture luma = rendered(folder, "--frame 1 --components y " + sample);
    bool grey = true;
    for (uint32_t pixel : luma.pixels)
        grey = grey && (pixel >> 16) == ((pixel >> 8) & 0xFF) && (pixel & 0xFF) == (pixel >> 16);
    EXPECT_TRUE(grey) << "luma alone is grey";
    EXPECT_EQ(rendered(folder, "--frame 1 --components y,u,v " + sample).pixels, plain.pixels);
    const PngPicture none = rendered(folder, "--frame 1 --bitplanes 0 " + sample);
    EXPECT_EQ(std::set<uint32_t>(none.pixels.begin(), none.pixels.end()).size(), 1u);
    EXPECT_EQ(rendered(folder, "--frame 1 --bitplanes 0xff " + sample).pixels, plain.pixels);
    // A key frame's blocks are intra: magenta outlines.
    const PngPicture blocks = rendered(folder, "--frame 1 --overlay blocks " + sample);
    EXPECT_EQ(blocks.at(16, 9), 0xFF00FFu);
    EXPECT_NE(rendered(folder, "--frame 1 --stats bits " + sample).pixels, plain.pixels);
    EXPECT_NE(rendered(folder, "--frame 1 --view residual " + sample).pixels, plain.pixels);
    // The picture area is whole macroblocks, as the window shows it.
    const PngPicture odd = rendered(folder, "--frame 1 " + stream("all_33x17"));
    EXPECT_EQ(odd.width, 48);
    EXPECT_EQ(odd.height, 32);
    // With standard output closed, no file the tool opens takes its place.
    const std::string closed = folder.path("closed.png");
    EXPECT_EQ(std::system((std::string(TAVIMOR_CLI_PATH) + " render --frame 1 -o " + closed + " " +
                           sample + " >&- 2>/dev/null")
                              .c_str()),
              0);
    EXPECT_EQ(read_png(read_file(closed)).value_or(PngPicture{}).pixels, plain.pixels);
}

}  // namespace
}  // namespace tavimor::test

namespace tavimor::test {
namespace {

TEST(ViewCommands, BenchStepsThroughTheModuleBothWays) {
    const CliResult result = run_cli("bench --runs 1 --steps --json " + stream("resize_64x48"));
    ASSERT_EQ(result.status, 0) << result.err;
    const auto doc = parse_json(result.out);
    ASSERT_TRUE(doc.has_value()) << result.out;
    for (const char* key : {"decoder", "analysis", "step_forward_ms", "step_back_ms"}) {
        const JsonValue* figures = doc->find(key);
        ASSERT_TRUE(figures) << key;
        EXPECT_GT(figures->find("min")->number, 0) << key;
        EXPECT_LE(figures->find("min")->number, figures->find("median")->number) << key;
        EXPECT_LE(figures->find("median")->number, figures->find("max")->number) << key;
    }
    const std::vector<std::string> lines =
        split_lines(run_cli("bench --runs 1 --steps " + stream("tiny_1x1")).out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3].rfind("step forward:", 0), 0u);
    EXPECT_EQ(lines[4].rfind("step back:", 0), 0u);
    EXPECT_EQ(lines[5].rfind("working files peak:", 0), 0u);
    EXPECT_EQ(run_cli("bench --runs 1 " + stream("tiny_1x1")).out.find("step"), std::string::npos);

    const CliResult one = run_cli("bench --runs 1 --steps " + stream("tiny_17x9"));
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.err, "tavimor-cli: " + stream("tiny_17x9") +
                           ": --steps needs a stream of at least two pictures\n");
}

}  // namespace
}  // namespace tavimor::test
