// Playback: the timer's period and direction, the step commands and keys, the
// frames-per-second dialog, and Stop.
#include "shell/playback.h"
#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/fps_dialog.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"
#include "tests/shell/spy_module.h"

namespace tavimor::test {
namespace {

TEST(PlaybackPeriod, DividesASecondByTheEffectiveRate) {
    EXPECT_EQ(playback_period(15, 1), 66);
    EXPECT_EQ(playback_period(15, 2), 33);
    EXPECT_EQ(playback_period(15, 3), 22);
    EXPECT_EQ(playback_period(1001, 1), 0);        // the platform's minimum then applies
    EXPECT_EQ(playback_period(2147483647, 3), 0);  // no overflow at the extremes
}

TEST(FpsField, ReadsADecimalRateAndRejectsNone) {
    EXPECT_EQ(parse_fps_field("25"), 25);
    EXPECT_EQ(parse_fps_field("  30fps"), 30);
    EXPECT_EQ(parse_fps_field("0"), 0);
    EXPECT_EQ(parse_fps_field(""), 0);
    EXPECT_EQ(parse_fps_field("-5"), 0);
    EXPECT_EQ(parse_fps_field("fast"), 0);
    EXPECT_EQ(parse_fps_field("99999999999999999999999"), 2147483647);
    EXPECT_EQ(parse_fps_field("0000000000000000012345"), 12);  // only 19 characters are read
}

class Playback : public ShellFixture {
  protected:
    std::optional<int> period() const { return platform_.timer_period(main_window(), 1); }
    void set_rate(const std::string& text) {
        platform_.script_next_dialog("FPSDLG", [text](HeadlessPlatform& user, WindowHandle d) {
            user.type_text(d, ctl::kFpsField, text);
            user.click(d, ctl::kOk);
        });
        press(cmd::kFpsSettings);
    }
};

TEST_F(Playback, FastForwardCountsUpToThreeTimesTheRate) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        for (int i = 0; i < 4; ++i) ASSERT_TRUE(press(cmd::kFastForward));
        EXPECT_EQ(view_state().speed_factor, 3);
        EXPECT_EQ(view_state().direction, 1);
        EXPECT_EQ(view_state().playing, 1);
        EXPECT_EQ(period(), 22);
        EXPECT_EQ(button(cmd::kFastForward), kButtonEnabled | kButtonChecked);
        // Rewind plays backward at the nominal rate; fast forward counts up from there.
        press(cmd::kFastRewind);
        EXPECT_EQ(view_state().direction, 0);
        EXPECT_EQ(period(), 66);
        press(cmd::kFastForward);
        EXPECT_EQ(view_state().speed_factor, 2);
        EXPECT_EQ(period(), 33);
        press(cmd::kPlay);
        EXPECT_EQ(period(), 66);
        press(cmd::kPause);
        EXPECT_FALSE(period());
        EXPECT_EQ(view_state().playing, 0);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Playback, TimerTicksStepThroughThePicturesUntilTheEnd) {
    then([&] {
        open(stream("inter_dense_48x48.ivf"));  // 8 pictures
        EXPECT_EQ(status(), "Frame 1");
        press(cmd::kPlay);
        for (int i = 0; i < 10; ++i) platform_.fire_timer(main_window(), 1);
        const int last = view_state().current_frame_index;
        EXPECT_EQ(last, 8);
        EXPECT_EQ(status(), "Frame " + std::to_string(last));
        platform_.fire_timer(main_window(), 1);  // at the end nothing changes, the timer runs on
        EXPECT_EQ(view_state().current_frame_index, last);
        EXPECT_TRUE(period());
        press(cmd::kFastRewind);
        platform_.fire_timer(main_window(), 1);
        EXPECT_EQ(view_state().current_frame_index, last - 1);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Playback, TheInformationViewsRestWhilePlayingAndCatchUpOnPause) {
    then([&] {
        open(stream("inter_dense_48x48.ivf"));
        WindowHandle summary =
            platform_.dialog_item(platform_.find_dialog("SUMMARYDLG"), ctl::kSummaryText);
        EXPECT_EQ(platform_.window_text(summary).rfind("Picture No\t\t: 1\r\n", 0), 0u);
        press(cmd::kPlay);
        for (int i = 0; i < 3; ++i) platform_.fire_timer(main_window(), 1);
        EXPECT_EQ(status(), "Frame 4");
        EXPECT_EQ(platform_.window_text(summary).rfind("Picture No\t\t: 1\r\n", 0), 0u);
        press(cmd::kPause);
        EXPECT_EQ(platform_.window_text(summary).rfind("Picture No\t\t: 4\r\n", 0), 0u);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Playback, StepsStopTheTimerAndPopTheirButtonBackOut) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        press(cmd::kPlay);
        ASSERT_TRUE(press(cmd::kStepForward));
        EXPECT_FALSE(period());
        EXPECT_EQ(view_state().current_frame_index, 2);
        EXPECT_EQ(button(cmd::kStepForward), kButtonEnabled);
        EXPECT_EQ(button(cmd::kPlay), kButtonEnabled);  // the group's check went to the step
        ASSERT_TRUE(press(cmd::kStepBackward));
        EXPECT_EQ(view_state().current_frame_index, 1);
        EXPECT_EQ(button(cmd::kStepBackward), kButtonEnabled);
        EXPECT_EQ(status(), "Frame 1");
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Playback, CtrlArrowsStepButCtrlLeftOnlyWhileStepBackwardIsEnabled) {
    SpyModule& spy = SpyModule::install();
    then([&] {
        ASSERT_EQ(button(cmd::kStepBackward), kButtonIndeterminate);
        press_with_ctrl(key::kLeft);
        EXPECT_EQ(spy.count("tick"), 0);
        press_with_ctrl(key::kRight);  // always steps, even with nothing open
        EXPECT_EQ(spy.count("tick"), 1);
        EXPECT_EQ(view_state().direction, 1);
        platform_.set_button_state(toolbar(), cmd::kStepBackward, kButtonEnabled);
        view_state().speed_factor = 2;
        press_with_ctrl(key::kLeft);
        EXPECT_EQ(spy.count("tick"), 2);
        EXPECT_EQ(view_state().direction, 0);
        EXPECT_EQ(view_state().speed_factor, 2);  // the keys leave the factor alone
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Playback, ARateOfZeroWarnsAndGivesFifteen) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        set_rate("25");
        EXPECT_EQ(view_state().frames_per_second, 25);
        press(cmd::kPlay);
        EXPECT_EQ(period(), 40);
        set_rate("0");
        EXPECT_EQ(view_state().frames_per_second, 15);
        EXPECT_EQ(period(), 40);  // a running timer keeps its period
        ASSERT_EQ(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(platform_.message_boxes()[0].text, "Invalid FPS valid, Using default(15fps)");
        EXPECT_EQ(platform_.message_boxes()[0].style, mb::kOk | mb::kIconInformation);
        set_rate("5000");
        press(cmd::kPlay);
        EXPECT_EQ(period(), 10);  // a 0 ms period runs at the platform's minimum
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Playback, TheRateDialogShowsTheCurrentRate) {
    std::string shown;
    then([&] {
        open(stream("sample_320x240.ivf"));
        view_state().frames_per_second = 42;
        platform_.script_next_dialog("FPSDLG", [&](HeadlessPlatform& user, WindowHandle dialog) {
            shown = user.window_text(user.dialog_item(dialog, ctl::kFpsField));
            EXPECT_EQ(user.window_text(dialog), "Set FPS");
        });  // then cancelled
        press(cmd::kFpsSettings);
        EXPECT_EQ(view_state().frames_per_second, 42);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(shown, "42");
}

TEST_F(Playback, CloseResetsTheRateAndStopsPlaying) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        set_rate("60");
        press(cmd::kFastForward);
        choose(cmd::kClose);
        EXPECT_EQ(view_state().frames_per_second, 15);
        EXPECT_EQ(view_state().speed_factor, 1);
        EXPECT_EQ(view_state().playing, 0);
        EXPECT_FALSE(period());
        EXPECT_EQ(button(cmd::kStepForward), kButtonIndeterminate);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Playback, StopGoesBackToTheFirstPictureOfTheSameStream) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        press(cmd::kStepForward);
        press(cmd::kStepForward);
        EXPECT_EQ(status(), "Frame 3");
        ASSERT_TRUE(press(cmd::kStop));
        EXPECT_EQ(status(), "Frame 1");
        EXPECT_EQ(platform_.window_text(main_window()), stream("sample_320x240.ivf"));
        EXPECT_EQ(button(cmd::kStop), kButtonEnabled);
        EXPECT_EQ(button(cmd::kStepBackward), kButtonEnabled);
        EXPECT_TRUE(platform_.is_window_visible(platform_.find_dialog("MBINFODLG")));
        EXPECT_TRUE(platform_.message_boxes().empty());
    });
    EXPECT_EQ(run(), 0);
}

}  // namespace
}  // namespace tavimor::test
