// Stepping through a stream: new pictures are decoded once, every other step
// recalls the picture cache; the end of the stream, bad files and decoder
// failures behave as the analyser promises.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "display/video_display.h"
#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/resource_types.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "tests/vp8module/module_fixture.h"
#include "vp8dec/error_codes.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor::test {
namespace {

std::vector<std::string> expected_md5s(const std::string& name) {
    std::vector<std::string> md5s;
    for (const std::string& line : split_lines(read_file(data_path(name + ".md5"))))
        md5s.push_back(line.substr(line.find(' ') + 1));
    return md5s;
}

using ModuleNavigation = ModuleFixture;

TEST_F(ModuleNavigation, BackwardAndForwardStepsRecallTheCache) {
    ASSERT_TRUE(open(data_path("sample_320x240.ivf")));
    const std::vector<std::string> md5s = expected_md5s("sample_320x240");
    const ViewState& view = view_state();
    EXPECT_EQ(view.current_frame_index, 0) << "nothing is shown before the first tick";
    for (int picture = 1; picture <= 5; ++picture) {
        step(1);
        EXPECT_EQ(view.current_frame_index, picture);
        EXPECT_EQ(shown_md5(), md5s[picture - 1]);
    }
    EXPECT_EQ(platform_.window_text(shell_services().status_label), "Frame 5");
    const int decoded = decoded_pictures();
    const int64_t position = stream_position();
    step(0);
    step(0);
    EXPECT_EQ(view.current_frame_index, 3);
    EXPECT_EQ(shown_md5(), md5s[2]);
    step(1);
    EXPECT_EQ(shown_md5(), md5s[3]);
    step(1);
    EXPECT_EQ(view.current_frame_index, 5);
    EXPECT_EQ(shown_md5(), md5s[4]);
    EXPECT_EQ(decoded_pictures(), decoded) << "pictures 3 to 5 came from the cache";
    EXPECT_EQ(stream_position(), position) << "the file was not read";
    step(1);
    EXPECT_EQ(view.current_frame_index, 6);
    EXPECT_EQ(shown_md5(), md5s[5]);
    EXPECT_EQ(decoded_pictures(), decoded + 1) << "picture 6 was decoded from the file";
    EXPECT_GT(stream_position(), position);
    // At picture 1 a backward step does nothing.
    for (int i = 0; i < 10; ++i) step(0);
    EXPECT_EQ(view.current_frame_index, 1);
    EXPECT_EQ(shown_md5(), md5s[0]);
}

TEST_F(ModuleNavigation, TheEndOfTheStreamChangesNothing) {
    ASSERT_TRUE(open(data_path("invisible_96x64.ivf")));
    const std::vector<std::string> md5s = expected_md5s("invisible_96x64");
    for (size_t i = 0; i < md5s.size(); ++i) {
        step(1);
        ASSERT_EQ(shown_md5(), md5s[i]) << "invisible frames get no picture index";
    }
    const ViewState& view = view_state();
    EXPECT_EQ(view.current_frame_index, 17);
    for (int i = 0; i < 3; ++i) {
        step(1);
        EXPECT_EQ(view.current_frame_index, 17);
        EXPECT_EQ(shown_md5(), md5s.back());
    }
    // The cache holds exactly three pictures per shown picture.
    const std::string folder = vp8_module_state().folder;
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(std::filesystem::file_size(folder + "mbist_pic_" + std::to_string(n) + ".bin"),
                  17u * 96 * 64 * 3 / 2);
}

TEST_F(ModuleNavigation, OpenSetsControlsAndANonStreamStaysClosed) {
    EXPECT_FALSE(open(data_path("tiny_1x1.md5")));
    EXPECT_EQ(module_->is_open(0), 0);
    ASSERT_TRUE(open(data_path("tiny_1x1.ivf")));
    const ShellServices& services = shell_services();
    EXPECT_EQ(platform_.button_state(services.toolbar, cmd::kStepForward), kButtonEnabled);
    EXPECT_EQ(platform_.button_state(services.toolbar, cmd::kMbType), kButtonIndeterminate);
    EXPECT_FALSE(platform_.is_menu_item_enabled(services.tools_menu, by_position(7)));
    // The working files sit in a private folder under the temporary directory.
    const std::string folder = vp8_module_state().folder;
    EXPECT_EQ(folder.rfind(temp_, 0), 0u);
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    module_->close();
    EXPECT_EQ(module_->is_open(0), 0);
    module_->close();  // closing twice is harmless
}

TEST_F(ModuleNavigation, SixHundredPicturesToTheEndAndBack) {
    // Sixty copies of a ten-frame stream that starts with a key frame.
    const std::string bytes = read_file(data_path("tiny_1x1.ivf"));
    std::string long_stream = bytes;
    for (int i = 1; i < 60; ++i) long_stream += bytes.substr(32);
    const std::string path = temp_ + "long.ivf";
    std::ofstream(path, std::ios::binary) << long_stream;
    ASSERT_TRUE(open(path));
    const std::vector<std::string> md5s = expected_md5s("tiny_1x1");
    const ViewState& view = view_state();
    for (int i = 0; i < 600; ++i) step(1);
    EXPECT_EQ(view.current_frame_index, 600);
    step(1);
    EXPECT_EQ(view.current_frame_index, 600);
    const int decoded = decoded_pictures();
    for (int i = 0; i < 599; ++i) {
        step(0);
        ASSERT_EQ(shown_md5(), md5s[(598 - i) % 10]) << "picture " << 599 - i;
    }
    EXPECT_EQ(view.current_frame_index, 1);
    for (int i = 0; i < 599; ++i) step(1);
    EXPECT_EQ(view.current_frame_index, 600);
    EXPECT_EQ(shown_md5(), md5s[9]);
    EXPECT_EQ(decoded_pictures(), decoded) << "the way back and forth is all cache";
}

TEST_F(ModuleNavigation, TruncatedLastFrameStopsTheApplication) {
    const std::string bytes = read_file(data_path("tiny_1x1.ivf"));
    const std::string path = temp_ + "cut.ivf";
    std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() - 2);
    ASSERT_TRUE(open(path));
    for (int i = 0; i < 9; ++i) step(1);
    ::testing::internal::CaptureStdout();
    step(1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Frame 10 failed to read complete frame");
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text, "Error, exit");
    EXPECT_EQ(platform_.message_boxes()[0].caption, "Warning");
    EXPECT_EQ(platform_.message_boxes()[0].style, mb::kOk | mb::kIconError);
    EXPECT_FALSE(platform_.is_window(shell_services().main_window)) << "the main window is gone";
    EXPECT_EQ(view_state().current_frame_index, 9);
}

TEST_F(ModuleNavigation, DecoderFailureIsFatal) {
    const std::string bytes = read_file(data_path("tiny_1x1.ivf"));
    std::string corrupt = bytes;
    corrupt[32 + 12 + 4] = 0;  // the key frame's start code
    const std::string path = temp_ + "corrupt.ivf";
    std::ofstream(path, std::ios::binary) << corrupt;
    ASSERT_TRUE(open(path));
    EXPECT_EXIT(
        {
            step(1);
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "");
    // What the user is told before the end.
    shell_services().exit_process = [](int status) {
        throw std::runtime_error("exit " + std::to_string(status));
    };
    EXPECT_THROW(step(1), std::runtime_error);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text,
              "Failed to decode frame: Bitstream not supported by this decoder\n\n")
        << "without a detail text the third part is a line break";
}

TEST_F(ModuleNavigation, AStreamThatChangesSizeRecallsEachPictureAtItsSize) {
    // The display size of every picture, as the decoder gives it.
    std::vector<std::pair<int, int>> sizes;
    TestDecoder decoder(false);
    for (const Frame& frame : read_ivf_frames(data_path("resize_64x48.ivf"))) {
        ASSERT_EQ(decoder.decode(frame), vp8::kOk);
        if (decoder.picture())
            sizes.emplace_back(decoder.picture()->image.display_width,
                               decoder.picture()->image.display_height);
    }
    const std::vector<std::string> md5s = expected_md5s("resize_64x48");
    ASSERT_EQ(sizes.size(), md5s.size());
    ASSERT_TRUE(open(data_path("resize_64x48.ivf")));
    auto check = [&](size_t index) {
        const vp8::PlanarPicture& final_picture = vp8_module_state().record->final_picture;
        EXPECT_EQ(final_picture.width, (sizes[index].first + 15) / 16 * 16)
            << "picture " << index + 1;
        EXPECT_EQ(view_state().picture_width, final_picture.width);
        EXPECT_EQ(md5_of(final_picture, sizes[index].first, sizes[index].second), md5s[index])
            << "picture " << index + 1;
    };
    for (size_t i = 0; i < md5s.size(); ++i) {
        step(1);
        check(i);
    }
    for (size_t i = md5s.size() - 1; i > 0; --i) {
        step(0);
        check(i - 1);
    }
}

}  // namespace
}  // namespace tavimor::test

namespace tavimor::test {
namespace {

TEST_F(ModuleNavigation, AVideoSurfaceThatCannotBeMadeIsReportedAndWorkGoesOn) {
    // A display never bound to the window cannot make its surfaces.
    display_destroy(shell_services().display);
    shell_services().display = display_create();
    ASSERT_TRUE(open(data_path("tiny_17x9.ivf")));
    step(1);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text, "Failed to initialize video surface");
    EXPECT_EQ(platform_.message_boxes()[0].caption, "Warning");
    EXPECT_EQ(view_state().current_frame_index, 1)
        << "the picture is decoded and cached all the same";
    EXPECT_EQ(shown_md5(), expected_md5s("tiny_17x9")[0]);
}

}  // namespace
}  // namespace tavimor::test
