// The original loaded beside the stream, as the user meets it: the six view
// tabs, the original and difference pictures, the PSNR lines of the summary,
// the pixel tabs, what a shorter or ill-fitting original gives, and the
// stream graph.
#include <filesystem>
#include <fstream>

#include "platform/messages.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/test_decoder.h"

namespace tavimor::test {
namespace {

class OriginalFlow : public ShellFixture {
  protected:
    // The decoded pictures of the sample, the first `count` of them, as raw I420.
    std::string write_original(const std::string& name, size_t count = 60) {
        std::string bytes;
        const auto pictures = decoded_i420_pictures(stream("sample_320x240.ivf"));
        for (size_t i = 0; i < count && i < pictures.size(); ++i) bytes += pictures[i];
        std::ofstream(temp_ + name, std::ios::binary) << bytes;
        return temp_ + name;
    }
    void load(const std::string& path) {
        platform_.answer_next_file_dialog(path);
        ASSERT_TRUE(press(cmd::kOpenReferenceYuv));
    }
    std::string dialog_text(const char* dialog, int control) {
        return platform_.window_text(platform_.dialog_item(platform_.find_dialog(dialog), control));
    }
    void choose_pixel_tab(int tab) {
        platform_.choose_tab(
            platform_.dialog_item(platform_.find_dialog("PIXELINFODLG"), ctl::kPixelInfoTabs), tab);
    }
    // The colours inside the picture area of the window.
    std::vector<uint32_t> picture_pixels() {
        const ViewState& view = view_state();
        const int width = platform_.client_rect(main_window()).width();
        const auto client = platform_.client_pixels(main_window());
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                pixels.push_back(
                    client[static_cast<size_t>(view.origin_y + y) * width + view.origin_x + x]);
        return pixels;
    }
    void step_to(int picture) {
        while (view_state().current_frame_index < picture) press(cmd::kStepForward);
    }
};

TEST_F(OriginalFlow, AnIdenticalOriginalAddsTwoTabsAndSaysIdenticalEverywhere) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        press(cmd::kMbRect);  // no overlay on the pictures compared
        const std::string summary = dialog_text("SUMMARYDLG", ctl::kSummaryText);
        const WindowHandle pixel_tabs =
            platform_.dialog_item(platform_.find_dialog("PIXELINFODLG"), ctl::kPixelInfoTabs);
        EXPECT_EQ(platform_.tab_count(pixel_tabs), 5);
        const auto final_pixels = picture_pixels();

        load(write_original("same.yuv"));
        EXPECT_TRUE(message_texts().empty());
        EXPECT_EQ(view_state().reference_loaded, 1);
        ASSERT_EQ(platform_.tab_count(tab_bar()), 6);
        EXPECT_EQ(platform_.tab_text(tab_bar(), 4), "Orig YUV");
        EXPECT_EQ(platform_.tab_text(tab_bar(), 5), "Final-Orig");
        EXPECT_EQ(platform_.window_rect(tab_bar()).width(), 480);
        EXPECT_EQ(platform_.tab_count(pixel_tabs), 7);
        // The summary keeps every line it had and adds the comparison after them.
        const std::string compared = dialog_text("SUMMARYDLG", ctl::kSummaryText);
        EXPECT_EQ(compared.substr(0, summary.size()), summary);
        EXPECT_NE(compared.find("Compared with the original", summary.size()), std::string::npos);
        EXPECT_NE(compared.find("Picture PSNR\t\t: identical\r\n"), std::string::npos);
        EXPECT_NE(compared.find("Pictures compared\t: 60 of 60 (60 identical)\r\n"),
                  std::string::npos);

        ASSERT_TRUE(platform_.choose_tab(tab_bar(), 4));
        EXPECT_EQ(picture_pixels(), final_pixels);
        ASSERT_TRUE(platform_.choose_tab(tab_bar(), 5));
        const auto difference = picture_pixels();
        EXPECT_EQ(std::count(difference.begin(), difference.end(), difference[0]),
                  static_cast<long>(difference.size()));  // one grey: no difference anywhere
        EXPECT_NE(difference[0], final_pixels[0]);
        const uint32_t grey = difference[0];
        EXPECT_TRUE((grey >> 16 & 0xFF) == (grey & 0xFF) && (grey >> 8 & 0xFF) == (grey & 0xFF));

        // Differences of zero in the pixel tab; the original's samples beside them.
        choose_pixel_tab(6);
        const std::string differences = dialog_text("PIXELINFODLG", ctl::kPixelInfoText);
        EXPECT_NE(differences.find("|    0,    0,    0,    0,|"), std::string::npos) << differences;
        choose_pixel_tab(5);
        EXPECT_NE(dialog_text("PIXELINFODLG", ctl::kPixelInfoText), differences);

        choose(cmd::kClose);
        EXPECT_EQ(view_state().reference_loaded, 0);
        EXPECT_EQ(platform_.tab_count(tab_bar()), 4);
        open(stream("sample_320x240.ivf"));
        EXPECT_EQ(platform_.tab_count(tab_bar()), 4) << "a new stream starts without the original";
        EXPECT_EQ(platform_.window_rect(tab_bar()).width(), 350);
        EXPECT_EQ(platform_.tab_count(platform_.dialog_item(platform_.find_dialog("PIXELINFODLG"),
                                                            ctl::kPixelInfoTabs)),
                  5);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OriginalFlow, AShorterOriginalHasNoDataForThePicturesItLacks) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        load(write_original("short.yuv", 3));
        ASSERT_TRUE(platform_.choose_tab(tab_bar(), 5));
        step_to(3);
        EXPECT_NE(dialog_text("SUMMARYDLG", ctl::kSummaryText).find("Picture PSNR\t\t: identical"),
                  std::string::npos);
        step_to(4);
        EXPECT_EQ(status(), "Frame 4");
        const auto blank = picture_pixels();
        EXPECT_EQ(std::count(blank.begin(), blank.end(), 0u), static_cast<long>(blank.size()));
        const std::string summary = dialog_text("SUMMARYDLG", ctl::kSummaryText);
        EXPECT_NE(summary.find("Picture PSNR\t\t: Data not available\r\n"), std::string::npos);
        EXPECT_NE(summary.find("Pictures compared\t: 3 of 60 (3 identical)\r\n"),
                  std::string::npos);
        choose_pixel_tab(5);
        EXPECT_EQ(dialog_text("PIXELINFODLG", ctl::kPixelInfoText), "Data not available\r\n");
        choose_pixel_tab(6);
        EXPECT_EQ(dialog_text("PIXELINFODLG", ctl::kPixelInfoText), "Data not available\r\n");
        // Back at a picture the original has, both come back.
        press(cmd::kStepBackward);
        EXPECT_NE(dialog_text("PIXELINFODLG", ctl::kPixelInfoText), "Data not available\r\n");
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OriginalFlow, AnOriginalOfAnotherSizeIsRefusedAndNothingChanges) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        const std::string y4m = temp_ + "small.y4m";
        std::ofstream(y4m, std::ios::binary)
            << "YUV4MPEG2 W176 H144 F30:1 C420jpeg\nFRAME\n" + std::string(176 * 144 * 3 / 2, 'x');
        load(y4m);
        EXPECT_EQ(message_texts(), std::vector<std::string>{"The original cannot be used: the "
                                                            "original is 176x144, the stream "
                                                            "320x240"});
        EXPECT_EQ(view_state().reference_loaded, 0);
        EXPECT_EQ(platform_.tab_count(tab_bar()), 4);
        // Cancelling the file dialog changes nothing either.
        platform_.answer_next_file_dialog(std::nullopt);
        press(cmd::kOpenReferenceYuv);
        EXPECT_EQ(message_texts().size(), 1u);
        EXPECT_EQ(platform_.tab_count(tab_bar()), 4);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OriginalFlow, TheStreamGraphGoesToThePictureOfTheBarClicked) {
    WindowHandle graph = kNoWindow;
    const auto legend = [&] {
        return platform_.window_text(platform_.dialog_item(graph, ctl::kStreamGraphLegend));
    };
    then([&] {
        open(stream("sample_320x240.ivf"));
        ASSERT_TRUE(choose(cmd::kStreamGraph));
        graph = platform_.find_dialog("STREAMGRAPHDLG");
        ASSERT_TRUE(platform_.is_window_visible(graph));
    });
    then([&] {  // painted
        EXPECT_EQ(legend().rfind("Bits of 60 pictures (largest 50096), key frames red (1)", 0), 0u)
            << legend();
        EXPECT_EQ(legend().find("PSNR"), std::string::npos);

        // Bar 30 sits at 29.5/60 of the frame's inner width.
        const Rect frame =
            platform_.window_rect(platform_.dialog_item(graph, ctl::kStreamGraphFrame));
        const int inner = frame.width() - 8;
        platform_.left_click(graph, {frame.left + 4 + inner * 59 / 120, frame.bottom - 10});
        EXPECT_EQ(status(), "Frame 30");
        platform_.left_click(graph, {frame.left + 4 + inner / 240, frame.bottom - 10});
        EXPECT_EQ(status(), "Frame 1");
        platform_.left_click(graph, {frame.left - 20, frame.top - 20});  // outside: nothing
        EXPECT_EQ(status(), "Frame 1");
        load(write_original("same.yuv"));
    });
    then([&] {
        EXPECT_NE(
            legend().find("PSNR purple: every picture compared is identical to the original.\r\n"),
            std::string::npos)
            << legend();
        choose(cmd::kClose);
        EXPECT_FALSE(platform_.is_window_visible(graph));
    });
    EXPECT_EQ(run(), 0);
}

}  // namespace
}  // namespace tavimor::test
