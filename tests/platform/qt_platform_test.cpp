// The desktop window system on Qt's off-screen platform.
#include "platform/qt/qt_platform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/menu_templates.h"

namespace tavimor {
namespace {

QtPlatform* platform = nullptr;

class QtPlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main_ = platform->create_main_window(
            "Tavimor(VP8 Only) 2.00",
            [this](WindowHandle window, unsigned message, uintptr_t first, intptr_t second) {
                if (message == msg::kCommand) commands_.push_back(command_id(first));
                return platform->default_window_proc(window, message, first, second);
            });
    }
    void TearDown() override { platform->destroy_window(main_); }

    WindowHandle main_ = kNoWindow;
    std::vector<int> commands_;
};

TEST_F(QtPlatformTest, MainWindowWithMenuBarAndToolbar) {
    EXPECT_EQ(platform->window_text(main_), "Tavimor(VP8 Only) 2.00");
    MenuHandle bar = platform->load_menu(kMenuBarName);
    platform->set_menu(main_, bar);
    EXPECT_EQ(platform->menu_item_count(bar), 5);
    MenuHandle recent = platform->submenu(platform->submenu(bar, 0), 2);
    ASSERT_NE(recent, kNoMenu);
    platform->insert_menu_item(recent, -1, 215, "VP8: /a.ivf");
    EXPECT_EQ(platform->menu_item_label(bar, by_command(215)), "VP8: /a.ivf");
    platform->enable_menu_item(bar, by_command(cmd::kMbSearch), false);
    EXPECT_FALSE(platform->is_menu_item_enabled(bar, by_command(cmd::kMbSearch)));
    EXPECT_TRUE(platform->delete_menu_item(recent, by_position(0)));
    EXPECT_EQ(platform->menu_item_count(recent), 0);

    WindowHandle toolbar = platform->create_toolbar(main_, ctl::kToolbar);
    EXPECT_EQ(platform->button_state(toolbar, cmd::kOpen), kButtonEnabled);
    EXPECT_EQ(platform->button_tooltip(toolbar, cmd::kFpsSettings), "FPS Settings");
    platform->set_button_state(toolbar, cmd::kStepForward, kButtonEnabled | kButtonChecked);
    EXPECT_EQ(platform->button_state(toolbar, cmd::kStepForward), kButtonEnabled | kButtonChecked);
    platform->destroy_menu(bar);
}

TEST_F(QtPlatformTest, DialogControlsKeepTheirState) {
    WindowHandle dialog = platform->create_dialog("DISPCTRLDLG", main_, nullptr);
    ASSERT_NE(dialog, kNoWindow);
    EXPECT_EQ(platform->window_text(dialog), "Display Control");
    WindowHandle y = platform->dialog_item(dialog, ctl::kComponentY);
    platform->set_check(y, CheckState::kChecked);
    EXPECT_EQ(platform->check_state(y), CheckState::kChecked);
    check_radio_button(*platform, dialog, ctl::kStatisticsOffRadio, ctl::kStatisticsQpCbRadio,
                       ctl::kStatisticsBitsRadio);
    EXPECT_EQ(platform->check_state(platform->dialog_item(dialog, ctl::kStatisticsBitsRadio)),
              CheckState::kChecked);

    WindowHandle header = platform->create_dialog("HDRINFODLG", main_, nullptr);
    WindowHandle tree = platform->dialog_item(header, ctl::kHeaderTree);
    TreeItem root = platform->tree_insert(tree, kTreeRoot, "frame");
    platform->tree_insert(tree, root, "key_frame");
    EXPECT_EQ(platform->tree_child_count(tree, root), 1);
    EXPECT_EQ(platform->tree_item_text(tree, platform->tree_child(tree, root, 0)), "key_frame");
    WindowHandle tabs = platform->dialog_item(header, ctl::kHeaderTabs);
    platform->tab_insert(tabs, 0, "FrameHdr");
    EXPECT_EQ(platform->tab_count(tabs), 1);
    EXPECT_EQ(platform->tab_selection(tabs), 0);

    WindowHandle type = platform->create_dialog("DEMUXERTYPEDLG", main_, nullptr);
    WindowHandle list = platform->dialog_item(type, ctl::kTypeList);
    platform->list_add(list, "H264 Annex B");
    platform->list_add(list, "VP8/VP8 FILE");
    EXPECT_EQ(platform->list_selection(list), -1);
    platform->list_select(list, 1);
    EXPECT_EQ(platform->list_text(list, platform->list_selection(list)), "VP8/VP8 FILE");
    for (WindowHandle each : {dialog, header, type}) platform->destroy_window(each);
}

TEST_F(QtPlatformTest, ModalDialogEndsWithTheResultItsProcedureGives) {
    intptr_t result = platform->run_dialog(
        "FPSDLG", main_,
        [](WindowHandle dialog, unsigned message, uintptr_t, intptr_t) -> intptr_t {
            if (message == msg::kInitDialog) {
                platform->set_window_text(platform->dialog_item(dialog, ctl::kFpsField), "30");
                platform->end_dialog(dialog, ctl::kOk);
            }
            return 0;
        });
    EXPECT_EQ(result, ctl::kOk);
}

TEST_F(QtPlatformTest, PresentedPixelsAndScrollBars) {
    platform->show_window(main_, ShowCommand::kShow);
    uint32_t pixels[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    SurfaceView view{reinterpret_cast<const uint8_t*>(pixels), 2, 2, 8, 4};
    EXPECT_TRUE(platform->present(main_, view, {0, 0, 2, 2}, {10, 20}));
    platform->set_scroll_info(main_, ScrollBar::kVertical, {0, 100, 10, 500});
    EXPECT_EQ(platform->scroll_info(main_, ScrollBar::kVertical).position, 91);
    EXPECT_EQ(platform->temp_directory().back(), '/');
    EXPECT_EQ(platform->screen_bits_per_pixel(), 32);
    TextBitmap text =
        platform->render_text("12", {"Times New Roman", 10, 400, false, false, false, 0x10});
    EXPECT_GT(text.width, 0);
    EXPECT_LE(text.height, 12);
}

TEST_F(QtPlatformTest, ToolbarClicksSendCommandsAndCheckTheirGroup) {
    WindowHandle toolbar = platform->create_toolbar(main_, ctl::kToolbar);
    for (int command : {cmd::kPlay, cmd::kPause, cmd::kMbRect})
        platform->set_button_state(toolbar, command, kButtonEnabled);
    auto* bar = dynamic_cast<QToolBar*>(platform->widget(toolbar));
    ASSERT_NE(bar, nullptr);
    auto action_for = [&](const char* tooltip) -> QAction* {
        for (QAction* action : bar->actions())
            if (action->toolTip() == tooltip) return action;
        return nullptr;
    };
    action_for("Pause Playback")->trigger();
    action_for("Begin/Resume Playback")->trigger();
    action_for("MB Rect On/Off")->trigger();
    EXPECT_EQ(commands_, (std::vector<int>{cmd::kPause, cmd::kPlay, cmd::kMbRect}));
    EXPECT_EQ(platform->button_state(toolbar, cmd::kPlay), kButtonEnabled | kButtonChecked);
    EXPECT_EQ(platform->button_state(toolbar, cmd::kPause), kButtonEnabled);
    EXPECT_EQ(platform->button_state(toolbar, cmd::kMbRect), kButtonEnabled);
    EXPECT_FALSE(action_for("Step Backward")->isEnabled());  // indeterminate shows greyed
}

TEST_F(QtPlatformTest, ComboConfirmationReachesTheDialog) {
    std::vector<int> notifications;
    WindowHandle dialog = platform->create_dialog(
        "DEMUXERTYPEDLG", main_,
        [&](WindowHandle, unsigned message, uintptr_t first, intptr_t) -> intptr_t {
            if (message == msg::kCommand && command_id(first) == ctl::kTypeList)
                notifications.push_back(command_notification(first));
            return 0;
        });
    WindowHandle list = platform->dialog_item(dialog, ctl::kTypeList);
    platform->list_add(list, "H264 Annex B");
    platform->list_add(list, "VP8/VP8 FILE");
    auto* combo = dynamic_cast<QComboBox*>(platform->widget(list));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(notifications,
              (std::vector<int>{notify::kComboSelectionChange, notify::kComboSelectionEndOk}));
    EXPECT_EQ(platform->list_selection(list), 1);
    platform->destroy_window(dialog);
}

TEST_F(QtPlatformTest, PostedMessagesArriveFromTheLoop) {
    std::vector<unsigned> heard;
    WindowHandle window = platform->create_main_window(
        "posted", [&](WindowHandle, unsigned message, uintptr_t, intptr_t) -> intptr_t {
            if (message == msg::kTick) heard.push_back(message);
            return 0;
        });
    platform->post_message(window, msg::kTick, 0, 0);
    EXPECT_TRUE(heard.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(heard.size(), 1u);
    platform->destroy_window(window);
    platform->post_message(window, msg::kTick, 0, 0);  // gone: nothing happens
    QCoreApplication::processEvents();
    EXPECT_EQ(heard.size(), 1u);
}

TEST(QtSettings, SettingsFilesOnDisk) {
    std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "tavimor-qt-settings";
    std::filesystem::create_directories(directory);
    std::string file = (directory / "tavimor.ini").string();
    std::filesystem::remove(file);
    EXPECT_EQ(platform->profile_int("Local Info", "CheckNever", 0, file), 0);
    EXPECT_TRUE(platform->write_profile_string("File History", "File0", "VP8: /a.ivf", file));
    EXPECT_TRUE(platform->write_profile_string("Local Info", "CheckNever", "1", file));
    EXPECT_TRUE(platform->write_profile_string("File History", "File0", std::nullopt, file));
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "[File History]\n[Local Info]\nCheckNever=1\n");
    EXPECT_EQ(platform->profile_int("Local Info", "CheckNever", 0, file), 1);
    // Nothing is left beside it: the text was written to a fresh file and renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory),
                            std::filesystem::directory_iterator()),
              1);
    // A folder that does not exist yet is made; one that cannot be made fails the write.
    EXPECT_TRUE(
        platform->write_profile_string("S", "K", "V", (directory / "new" / "x.ini").string()));
    EXPECT_EQ(platform->profile_string("S", "K", "", 10, (directory / "new" / "x.ini").string()),
              "V");
    EXPECT_FALSE(platform->write_profile_string("S", "K", "V", "/dev/null/x.ini"));
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace tavimor

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tavimor::QtPlatform qt(argc, argv);
    tavimor::platform = &qt;
    return RUN_ALL_TESTS();
}
