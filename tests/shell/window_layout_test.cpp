// The main window's layout, its scroll bars and the view tab bar.
#include "resources/command_ids.h"
#include "shell/scrolling.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"

namespace tavimor::test {
namespace {

TEST(ScrolledPosition, MovesByLineOrPageAndStaysInsideTheRange) {
    const ScrollInfo bar{0, 100, 10, 0};
    EXPECT_EQ(scrolled_position(bar, scroll::kLineUp, 0), 0);  // up at 0 stays at 0
    EXPECT_EQ(scrolled_position(bar, scroll::kLineDown, 0), 1);
    EXPECT_EQ(scrolled_position(bar, scroll::kPageDown, 0), 10);
    EXPECT_EQ(scrolled_position({0, 100, 10, 95}, scroll::kPageDown, 0), 100);
    EXPECT_EQ(scrolled_position({0, 100, 10, 5}, scroll::kPageUp, 0), 0);
    EXPECT_EQ(scrolled_position(bar, scroll::kThumbTrack, 42), 42);
    EXPECT_EQ(scrolled_position(bar, scroll::kThumbTrack, 420), 100);
    EXPECT_EQ(scrolled_position({0, 100, 10, 7}, scroll::kEndScroll, 42), 7);
    EXPECT_EQ(scrolled_position(ScrollInfo{}, scroll::kLineDown, 0), 0);
}

using WindowLayout = ShellFixture;

TEST_F(WindowLayout, APictureLargerThanTheWindowScrolls) {
    then([&] {
        platform_.resize_client(main_window(), 300, 200);
        open(stream("sample_320x240.ivf"));
        const ViewState& view = view_state();
        EXPECT_EQ(view.origin_x, 0);
        const int toolbar_height = platform_.window_rect(toolbar()).height();
        EXPECT_EQ(view.origin_y, toolbar_height + 66);
        const ScrollInfo vertical = platform_.scroll_info(main_window(), ScrollBar::kVertical);
        EXPECT_EQ(vertical.max, view.origin_y + 240 - 200);
        EXPECT_EQ(vertical.page, 10);
        EXPECT_EQ(platform_.scroll_info(main_window(), ScrollBar::kHorizontal).max, 20);

        platform_.scroll(main_window(), ScrollBar::kVertical, scroll::kLineUp);
        EXPECT_EQ(view.scroll_y, 0);
        platform_.scroll(main_window(), ScrollBar::kVertical, scroll::kPageDown);
        EXPECT_EQ(view.scroll_y, 10);
        EXPECT_EQ(platform_.scroll_info(main_window(), ScrollBar::kVertical).position, 10);
        platform_.scroll(main_window(), ScrollBar::kHorizontal, scroll::kThumbTrack, 500);
        EXPECT_EQ(view.scroll_x, 20);
        // At the end of the range the offset stays there, whatever the thumb shows.
        platform_.scroll(main_window(), ScrollBar::kHorizontal, scroll::kLineDown);
        EXPECT_EQ(view.scroll_x, 20);
        platform_.scroll(main_window(), ScrollBar::kHorizontal, scroll::kLineUp);
        EXPECT_EQ(view.scroll_x, 19);
        // A new layout starts at the top-left corner again.
        platform_.resize_client(main_window(), 1000, 800);
        EXPECT_EQ(view.scroll_x, 0);
        EXPECT_EQ(view.origin_x, (1000 - 320) / 2);
        EXPECT_EQ(platform_.scroll_info(main_window(), ScrollBar::kVertical), ScrollInfo{});
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(WindowLayout, ChoosingAViewTabRedrawsThatView) {
    then([&] {
        platform_.choose_tab(tab_bar(), 2);  // no stream: nothing happens
        EXPECT_EQ(view_state().selected_tab, 0);
        EXPECT_EQ(platform_.tab_selection(tab_bar()), 0);
        open(stream("sample_320x240.ivf"));
        const auto final_pixels = platform_.client_pixels(main_window());
        ASSERT_TRUE(platform_.choose_tab(tab_bar(), 2));
        EXPECT_EQ(view_state().selected_tab, 2);
        EXPECT_NE(platform_.client_pixels(main_window()), final_pixels);
        ASSERT_TRUE(platform_.choose_tab(tab_bar(), 0));
        EXPECT_EQ(platform_.client_pixels(main_window()), final_pixels);
        platform_.choose_tab(tab_bar(), 3);
        choose(cmd::kClose);
        EXPECT_EQ(view_state().selected_tab, 0);
        EXPECT_EQ(platform_.tab_selection(tab_bar()), 0);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(WindowLayout, AStepPresentsThePictureOnce) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        platform_.deliver_posted();
        const int before = platform_.present_count(main_window());
        press(cmd::kStepForward);
        platform_.deliver_posted();
        EXPECT_EQ(platform_.present_count(main_window()), before + 1);
    });
    EXPECT_EQ(run(), 0);
}

}  // namespace
}  // namespace tavimor::test
