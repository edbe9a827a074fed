// Menus and the toolbar on the headless window system.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/menu_templates.h"

namespace tavimor {
namespace {

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main_ = platform_.create_main_window(
            "main", [this](WindowHandle, unsigned message, uintptr_t first, intptr_t) -> intptr_t {
                if (message == msg::kCommand) commands_.push_back(command_id(first));
                return 0;
            });
        bar_ = platform_.load_menu(kMenuBarName);
        platform_.set_menu(main_, bar_);
    }

    HeadlessPlatform platform_;
    WindowHandle main_ = kNoWindow;
    MenuHandle bar_ = kNoMenu;
    std::vector<int> commands_;
};

TEST_F(MenuTest, MenuBarHasTheFiveMenusInOrder) {
    ASSERT_EQ(platform_.menu_item_count(bar_), 5);
    EXPECT_EQ(platform_.menu_item_label(bar_, by_position(0)), "File");
    EXPECT_EQ(platform_.menu_item_label(bar_, by_position(4)), "Help");
    MenuHandle tools = platform_.submenu(bar_, 2);
    ASSERT_EQ(platform_.menu_item_count(tools), 11);  // the ten items and "Stream Graph"
    EXPECT_EQ(platform_.menu_item_command(tools, 10), cmd::kStreamGraph);
    EXPECT_EQ(platform_.menu_item_command(tools, 7), cmd::kMbSearch);
    EXPECT_EQ(platform_.menu_item_command(tools, 8), cmd::kOneSegCheck);
    EXPECT_EQ(platform_.menu_item_label(bar_, by_command(cmd::kEndMbInfoDump)), "End MB info Dump");
    MenuHandle file = platform_.submenu(bar_, 0);
    EXPECT_EQ(platform_.menu_item_label(file, by_position(2)), "Recent Files");
    EXPECT_EQ(platform_.menu_item_count(platform_.submenu(file, 2)), 0);
}

TEST_F(MenuTest, GreyedItemsCannotBeChosen) {
    MenuHandle tools = platform_.submenu(bar_, 2);
    EXPECT_TRUE(platform_.enable_menu_item(tools, by_position(7), false));
    EXPECT_FALSE(platform_.is_menu_item_enabled(bar_, by_command(cmd::kMbSearch)));
    EXPECT_FALSE(platform_.choose_menu_command(main_, cmd::kMbSearch));
    EXPECT_TRUE(platform_.choose_menu_command(main_, cmd::kHistogram));
    EXPECT_EQ(commands_, (std::vector<int>{cmd::kHistogram}));
    platform_.check_menu_item(bar_, by_command(cmd::kMbRect), true);
    EXPECT_TRUE(platform_.is_menu_item_checked(bar_, by_command(cmd::kMbRect)));
}

TEST_F(MenuTest, RecentFilesAreInsertedAndDeleted) {
    MenuHandle recent = platform_.submenu(platform_.submenu(bar_, 0), 2);
    platform_.insert_menu_item(recent, -1, 215, "VP8: /a.ivf");
    platform_.insert_menu_item(recent, -1, 216, "VP8: /b.ivf");
    platform_.insert_menu_item(recent, -1, 217, "VP8: /c.ivf");
    EXPECT_TRUE(platform_.delete_menu_item(recent, by_position(0)));
    EXPECT_EQ(platform_.menu_item_count(recent), 2);
    EXPECT_EQ(platform_.menu_item_label(bar_, by_command(217)), "VP8: /c.ivf");
    EXPECT_TRUE(platform_.delete_menu_item(bar_, by_command(216)));  // found in the submenu
    EXPECT_EQ(platform_.menu_item_command(recent, 0), 217);
    EXPECT_FALSE(platform_.delete_menu_item(recent, by_command(216)));
    EXPECT_EQ(platform_.menu_item_label(recent, by_position(5)), "");
}

TEST_F(MenuTest, PopupChoiceIsSentToTheOwner) {
    MenuHandle popup = platform_.load_menu("VP8POPUP");
    MenuHandle first = platform_.submenu(popup, 0);
    ASSERT_EQ(platform_.menu_item_count(first), 3);
    EXPECT_EQ(platform_.menu_item_command(platform_.submenu(first, 1), 3), cmd::kComponentsCb);
    platform_.choose_next_popup_command(cmd::kComponentsY);
    EXPECT_EQ(platform_.track_popup_menu(first, main_, {100, 200}), cmd::kComponentsY);
    EXPECT_EQ(platform_.track_popup_menu(first, main_, {100, 200}), 0);  // dismissed
    EXPECT_EQ(commands_, (std::vector<int>{cmd::kComponentsY}));
    EXPECT_EQ(platform_.popups()[0].screen, (Point{100, 200}));

    MenuHandle edit = platform_.submenu(platform_.load_menu("EDITPOPUP"), 0);
    platform_.enable_menu_item(edit, by_position(1), false);
    platform_.choose_next_popup_command(cmd::kFontSizeFirst + 3);  // greyed: nothing chosen
    EXPECT_EQ(platform_.track_popup_menu(edit, main_, {0, 0}), 0);
}

class ToolbarTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        toolbar_ = platform_.create_toolbar(main_, ctl::kToolbar);
    }
    WindowHandle toolbar_ = kNoWindow;
};

TEST_F(ToolbarTest, ButtonsStartAsLaidOutWithTheirTooltips) {
    EXPECT_EQ(platform_.button_state(toolbar_, cmd::kOpen), kButtonEnabled);
    EXPECT_EQ(platform_.button_state(toolbar_, cmd::kStepBackward), kButtonIndeterminate);
    EXPECT_EQ(platform_.button_state(toolbar_, cmd::kWebAddress), kButtonEnabled);
    EXPECT_EQ(platform_.button_tooltip(toolbar_, cmd::kPlay), "Begin/Resume Playback");
    EXPECT_EQ(platform_.button_tooltip(toolbar_, cmd::kStartYuvOutput), "Save YUV Output");
    EXPECT_GT(platform_.window_rect(toolbar_).height(), 0);
}

TEST_F(ToolbarTest, OnlyEnabledButtonsSendTheirCommand) {
    EXPECT_FALSE(platform_.press_toolbar_button(toolbar_, cmd::kStepBackward));
    EXPECT_TRUE(platform_.press_toolbar_button(toolbar_, cmd::kOpen));
    platform_.set_button_state(toolbar_, cmd::kStepBackward, kButtonEnabled);
    EXPECT_TRUE(platform_.press_toolbar_button(toolbar_, cmd::kStepBackward));
    EXPECT_EQ(commands_, (std::vector<int>{cmd::kOpen, cmd::kStepBackward}));
}

TEST_F(ToolbarTest, PlaybackButtonsFormOneCheckGroup) {
    for (int command : {cmd::kStop, cmd::kPlay, cmd::kPause, cmd::kFastForward, cmd::kMbRect})
        platform_.set_button_state(toolbar_, command, kButtonEnabled);
    platform_.press_toolbar_button(toolbar_, cmd::kPlay);
    platform_.press_toolbar_button(toolbar_, cmd::kFastForward);
    EXPECT_EQ(platform_.button_state(toolbar_, cmd::kFastForward), kButtonEnabled | kButtonChecked);
    EXPECT_EQ(platform_.button_state(toolbar_, cmd::kPlay), kButtonEnabled);
    // Plain buttons do not check themselves: the shell decides.
    platform_.press_toolbar_button(toolbar_, cmd::kMbRect);
    EXPECT_EQ(platform_.button_state(toolbar_, cmd::kMbRect), kButtonEnabled);
    EXPECT_EQ(platform_.button_state(toolbar_, cmd::kFastForward), kButtonEnabled | kButtonChecked);
}

}  // namespace
}  // namespace tavimor
