// Selecting macroblocks: clicks, arrow keys, the go-to dialog, the outline
// of the selection, and the tip under the mouse.
#include "display/overlay_palette.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/client_point.h"
#include "shell/goto_dialog.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"

namespace tavimor::test {
namespace {

class Selection : public ShellFixture {
  protected:
    void open_sample() { open(stream("sample_320x240.ivf")); }  // 20 x 15 macroblocks
    Point selected() const { return {view_state().selected_x, view_state().selected_y}; }
    Point client_of(int x, int y) const { return client_point_of(view_state(), x, y); }
    uint32_t pixel_at(Point client) const {
        const auto pixels = platform_.client_pixels(main_window());
        return pixels[static_cast<size_t>(client.y) * platform_.client_rect(main_window()).width() +
                      client.x];
    }
    // The tip window while it shows a text.
    WindowHandle active_tip() const {
        for (int handle = 1; handle < 1000; ++handle)
            if (platform_.tip_state(WindowHandle{handle}).active) return WindowHandle{handle};
        return kNoWindow;
    }
    void run_goto(const std::string& column, const std::string& row) {
        platform_.script_next_dialog("GOTODLG", [=](HeadlessPlatform& user, WindowHandle d) {
            user.type_text(d, ctl::kGotoColumn, column);
            user.type_text(d, ctl::kGotoRow, row);
            user.click(d, ctl::kOk);
        });
        press(cmd::kGotoMb);
    }
};

TEST_F(Selection, ClicksSelectTheMacroblockUnderThePointInsideThePicture) {
    then([&] {
        open_sample();
        platform_.left_click(main_window(), client_of(37, 50));
        EXPECT_EQ(selected(), (Point{37, 50}));
        platform_.left_click(main_window(), client_of(40, 60));  // the same macroblock
        EXPECT_EQ(selected(), (Point{37, 50}));
        platform_.left_click(main_window(), client_of(320, 10));  // right of the picture
        platform_.left_click(main_window(), client_of(-1, 10));
        platform_.left_click(main_window(), client_of(10, 240));
        EXPECT_EQ(selected(), (Point{37, 50}));
        // The outline of the selection is drawn in blue around (32, 48).
        EXPECT_EQ(pixel_at(client_of(32, 52)), 0x0000FFu);
        EXPECT_EQ(pixel_at(client_of(40, 48)), 0x0000FFu);
        EXPECT_NE(pixel_at(client_of(40, 56)), 0x0000FFu);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Selection, ArrowKeysMoveByOneMacroblockAndStopAtThePictureEdge) {
    then([&] {
        open_sample();
        EXPECT_EQ(selected(), (Point{0, 0}));
        platform_.press_key(main_window(), key::kLeft);
        platform_.press_key(main_window(), key::kUp);
        EXPECT_EQ(selected(), (Point{0, 0}));
        platform_.press_key(main_window(), key::kRight);
        platform_.press_key(main_window(), key::kDown);
        platform_.press_key(main_window(), key::kDown);
        EXPECT_EQ(selected(), (Point{16, 32}));
        for (int i = 0; i < 30; ++i) platform_.press_key(main_window(), key::kRight);
        EXPECT_EQ(selected(), (Point{304, 32}));  // the last column
        platform_.press_key(main_window(), key::kLeft);
        EXPECT_EQ(selected(), (Point{288, 32}));
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(Selection, GotoSelectsTheColumnAndRowKeptInsideThePicture) {
    std::string shown_column;
    then([&] {
        open_sample();
        run_goto("3", "2");
        EXPECT_EQ(selected(), (Point{48, 32}));
        platform_.script_next_dialog("GOTODLG", [&](HeadlessPlatform& user, WindowHandle d) {
            shown_column = user.window_text(user.dialog_item(d, ctl::kGotoColumn));
            EXPECT_FALSE(user.is_window_visible(user.dialog_item(d, ctl::kGotoFrame)));
        });
        press(cmd::kGotoMb);
        run_goto("99", "-4");  // past the last column, above the first row
        EXPECT_EQ(selected(), (Point{319, 0}));
        EXPECT_EQ(view_state().current_frame_index, 1);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(shown_column, "3");
}

TEST_F(Selection, TheTipNamesTheMacroblockUnderTheMouseWhileMbPopupIsOn) {
    then([&] {
        open_sample();
        platform_.move_mouse(main_window(), client_of(20, 20));
        EXPECT_EQ(active_tip(), kNoWindow);  // MB Popup is off
        press(cmd::kMbPopup);
        platform_.move_mouse(main_window(), client_of(20, 20));
        const WindowHandle tip = active_tip();
        ASSERT_NE(tip, kNoWindow);
        HeadlessPlatform::TipState state = platform_.tip_state(tip);
        EXPECT_TRUE(state.active);
        EXPECT_EQ(state.text.rfind("21(1,1)\r\n", 0), 0u) << state.text;
        const Point screen = platform_.client_to_screen(main_window(), client_of(20, 20));
        EXPECT_EQ(state.position, (Point{screen.x + 10, screen.y - 20}));
        platform_.move_mouse(main_window(), client_of(25, 28));  // same macroblock
        EXPECT_EQ(platform_.tip_state(tip).tracked, state.tracked);
        platform_.move_mouse(main_window(), client_of(500, 20));  // outside the picture
        EXPECT_FALSE(platform_.tip_state(tip).active);
    });
    EXPECT_EQ(run(), 0);
}

TEST(GotoPosition, ClampsToThePictureAndReadsNineCharacters) {
    ViewState view{};
    view.picture_width = 320;
    view.picture_height = 240;
    view.vertical_zoom = 1;
    EXPECT_EQ(goto_position("2", "3", view), (Point{32, 48}));
    EXPECT_EQ(goto_position("-1", "x", view), (Point{0, 0}));
    EXPECT_EQ(goto_position("20", "15", view), (Point{319, 239}));
    EXPECT_EQ(goto_position("9999999999", "1", view), (Point{319, 16}));  // 9 characters read
    EXPECT_EQ(goto_position("2147483647", "2147483647", view), (Point{319, 239}));
}

}  // namespace
}  // namespace tavimor::test
