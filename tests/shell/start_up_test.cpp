// The application started on the headless window system: its window, the
// dialogs made with it, and the ways it ends.
#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/module_registry.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"
#include "tests/shell/spy_module.h"

namespace tavimor::test {
namespace {

using StartUp = ShellFixture;

TEST_F(StartUp, ShowsTheTitledWindowWithItsBarsAndHiddenDialogs) {
    bool checked = false;
    then([&] {
        checked = true;
        WindowHandle main = main_window();
        ASSERT_NE(main, kNoWindow);
        EXPECT_EQ(platform_.window_text(main), "Tavimor(VP8 Only) 2.00");
        EXPECT_TRUE(platform_.is_window_visible(main));
        EXPECT_TRUE(platform_.accepts_dropped_files(main));
        EXPECT_EQ(button(cmd::kOpen), kButtonEnabled);
        EXPECT_EQ(button(cmd::kStepForward), kButtonIndeterminate);
        // The view tabs exist but their bar is 0 wide without a stream.
        ASSERT_EQ(platform_.tab_count(tab_bar()), 4);
        EXPECT_EQ(platform_.tab_text(tab_bar(), 0), "Final");
        EXPECT_EQ(platform_.tab_text(tab_bar(), 3), "Residual");
        EXPECT_EQ(platform_.window_rect(tab_bar()).width(), 0);
        const ViewState& state = view_state();
        const int toolbar_height = platform_.window_rect(toolbar()).height();
        EXPECT_EQ(state.origin_y, std::max(toolbar_height + 66, 768 / 2));
        EXPECT_EQ(platform_.window_rect(status_label()).top, state.origin_y - 26);
        EXPECT_EQ(platform_.text_colour(status_label()), rgb(255, 0, 0));
        EXPECT_EQ(path_of(state.temp_directory), temp_);
        EXPECT_EQ(path_of(state.current_stream_path), "video.h264");
        EXPECT_EQ(state.frames_per_second, 15);
        for (const char* name :
             {"MBSEARCHDLG", "PICANALYZERDLG", "DISPCTRLDLG", "CONTAINERSTRUCTDLG", "HDRINFODLG",
              "MBINFODLG", "PIXELINFODLG", "SUMMARYDLG"}) {
            WindowHandle dialog = platform_.find_dialog(name);
            EXPECT_NE(dialog, kNoWindow) << name;
            EXPECT_FALSE(platform_.is_window_visible(dialog)) << name;
        }
        EXPECT_TRUE(platform_.message_boxes().empty());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(checked);
    // The loop ran out of work without a quit: the application still takes its window down.
    EXPECT_EQ(main_window(), kNoWindow);
}

TEST_F(StartUp, AboutShowsTheMakerAndQuitEndsTheLoop) {
    then([&] {
        choose(cmd::kAbout);
        choose(cmd::kQuit);
    });
    then([] { ADD_FAILURE() << "the loop went on after Quit"; });
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    const auto& about = platform_.message_boxes()[0];
    EXPECT_EQ(about.caption, "About Tavimor(VP8 Only) 2.00");
    EXPECT_EQ(
        about.text.rfind(
            "Tavimor(VP8 Only) is a powerful tool dedicated to analyzing all\r\nVP8 streams.", 0),
        0u);
    EXPECT_NE(about.text.find("https://"), std::string::npos);
    EXPECT_EQ(main_window(), kNoWindow);
    EXPECT_EQ(platform_.quit_code(), 0);
}

TEST_F(StartUp, QuitDestroysTheWindowWithoutTheCloseRequestSteps) {
    SpyModule& spy = SpyModule::install();
    int closes_when_gone = -1;
    then([&] {
        spy.opened = true;
        choose(cmd::kQuit);
        closes_when_gone = spy.count("close");
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(closes_when_gone, 0);
}

TEST_F(StartUp, TheCloseRequestClosesTheStreamFirst) {
    SpyModule& spy = SpyModule::install();
    int closes_when_gone = -1;
    then([&] {
        spy.opened = true;
        platform_.request_close(main_window());
        closes_when_gone = spy.count("close");
        EXPECT_EQ(main_window(), kNoWindow);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(closes_when_gone, 1);
}

TEST_F(StartUp, AMissingTipWindowIsReportedAndStartUpGoesOn) {
    platform_.set_tip_window_fails(true);
    bool running = false;
    then([&] { running = main_window() != kNoWindow; });
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text, "Failed to create tips window");
    EXPECT_EQ(platform_.message_boxes()[0].caption, "Warning");
    EXPECT_TRUE(running);
}

TEST_F(StartUp, ResizingLaysTheWindowOutAgain) {
    then([&] {
        platform_.resize_client(main_window(), 1600, 1000);
        EXPECT_EQ(platform_.window_rect(toolbar()).width(), 1600);
        EXPECT_EQ(view_state().origin_x, 800);
        EXPECT_EQ(platform_.scroll_info(main_window(), ScrollBar::kVertical), ScrollInfo{});
        platform_.request_close(main_window());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform_.quit_code(), 0);
}

TEST_F(StartUp, WithoutAModuleInTheRegistryItDoesNotStart) {
    provide_vp8_module(nullptr);
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(main_window(), kNoWindow);
}

}  // namespace
}  // namespace tavimor::test
