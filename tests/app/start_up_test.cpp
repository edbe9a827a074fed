// The application started on the headless window system.
#include <gtest/gtest.h>

#include "app/application.h"
#include "platform/headless/headless_platform.h"
#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/view_state.h"

namespace tavimor {
namespace {

// Runs the application; the checks run as idle actions of its message loop,
// while the window is up.
class StartUpTest : public ::testing::Test {
  protected:
    int run() {
        platform_.set_temp_directory("/tmp/tavimor-start/");
        return run_application(platform_, {});
    }
    void when_running(std::function<void(WindowHandle main)> check) {
        platform_.when_idle([check](HeadlessPlatform& platform) { check(platform.main_window()); });
    }

    HeadlessPlatform platform_;
};

TEST_F(StartUpTest, ShowsTheTitledWindowWithItsBarsAndControls) {
    bool checked = false;
    when_running([&](WindowHandle main) {
        checked = true;
        ASSERT_NE(main, kNoWindow);
        EXPECT_EQ(platform_.window_text(main), "Tavimor(VP8 Only) 2.00");
        EXPECT_TRUE(platform_.is_window_visible(main));
        EXPECT_TRUE(platform_.accepts_dropped_files(main));
        WindowHandle toolbar = platform_.dialog_item(main, ctl::kToolbar);
        ASSERT_NE(toolbar, kNoWindow);
        EXPECT_EQ(platform_.button_state(toolbar, cmd::kOpen), kButtonEnabled);
        // Without a stream the view tab bar is 0 wide; the status label sits above the picture
        // origin.
        WindowHandle tabs = platform_.dialog_item(main, ctl::kViewTabBar);
        EXPECT_EQ(platform_.window_rect(tabs).width(), 0);
        const ViewState& state = view_state();
        int toolbar_height = platform_.window_rect(toolbar).height();
        EXPECT_EQ(state.origin_y, toolbar_height + 66 > 768 / 2 ? toolbar_height + 66 : 768 / 2);
        EXPECT_EQ(platform_.window_rect(platform_.dialog_item(main, ctl::kStatusLabel)).top,
                  state.origin_y - 26);
        EXPECT_EQ(platform_.text_colour(platform_.dialog_item(main, ctl::kStatusLabel)),
                  rgb(255, 0, 0));
        EXPECT_EQ(path_of(state.temp_directory), "/tmp/tavimor-start/");
        EXPECT_EQ(path_of(state.current_stream_path), "video.h264");
        EXPECT_EQ(state.frames_per_second, 15);
        EXPECT_TRUE(platform_.message_boxes().empty());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(checked);
    // The loop ran out of work without a quit: the application still takes its window down.
    EXPECT_EQ(platform_.main_window(), kNoWindow);
}

TEST_F(StartUpTest, AboutShowsTheMakerAndQuitEndsTheLoop) {
    platform_.when_idle([](HeadlessPlatform& user) {
        user.choose_menu_command(user.main_window(), cmd::kAbout);
        user.choose_menu_command(user.main_window(), cmd::kQuit);
    });
    platform_.when_idle([](HeadlessPlatform&) { ADD_FAILURE() << "the loop went on after Quit"; });
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    const auto& about = platform_.message_boxes()[0];
    EXPECT_EQ(about.caption, "About Tavimor(VP8 Only) 2.00");
    EXPECT_EQ(
        about.text.rfind(
            "Tavimor(VP8 Only) is a powerful tool dedicated to analyzing all\r\nVP8 streams.", 0),
        0u);
    EXPECT_EQ(platform_.main_window(), kNoWindow);
    EXPECT_EQ(platform_.quit_code(), 0);
}

TEST_F(StartUpTest, AMissingTipWindowIsReportedAndStartUpGoesOn) {
    platform_.set_tip_window_fails(true);
    bool running = false;
    when_running([&](WindowHandle main) { running = main != kNoWindow; });
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text, "Failed to create tips window");
    EXPECT_EQ(platform_.message_boxes()[0].caption, "Warning");
    EXPECT_TRUE(running);
}

TEST_F(StartUpTest, ResizingLaysTheWindowOutAgain) {
    when_running([&](WindowHandle main) {
        platform_.resize_client(main, 1600, 1000);
        WindowHandle toolbar = platform_.dialog_item(main, ctl::kToolbar);
        EXPECT_EQ(platform_.window_rect(toolbar).width(), 1600);
        EXPECT_EQ(view_state().origin_x, 800);
        EXPECT_EQ(platform_.scroll_info(main, ScrollBar::kVertical), ScrollInfo{});
        platform_.request_close(main);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform_.quit_code(), 0);
}

}  // namespace
}  // namespace tavimor
