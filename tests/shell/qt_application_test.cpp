// The application on the desktop window system (Qt's off-screen platform): a
// stream opened from the command line, stepped with the toolbar and Ctrl+Left.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <fstream>

#include "platform/qt/qt_platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/resource_types.h"
#include "shell/application.h"
#include "shell/module_registry.h"
#include "shell/settings_path.h"
#include "tests/support/test_paths.h"
#include "vp8module/vp8_module.h"

namespace tavimor::test {
namespace {

class QtApplication : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavimor-qt-app-XXXXXX";
        temp_ = mkdtemp(pattern);
        setenv("TMPDIR", temp_.c_str(), 1);  // the module's working files go there
        provide_vp8_module(create_vp8_module);
        // The settings file beside this program: kept aside, and the notice off.
        settings_ = settings_path(platform_.executable_path());
        if (std::filesystem::exists(settings_))
            std::filesystem::rename(settings_, temp_ + "/kept.ini");
        std::ofstream(settings_) << "[Local Info]\nCheckNever=1\n";
    }
    void TearDown() override {
        std::filesystem::remove(settings_);
        if (std::filesystem::exists(temp_ + "/kept.ini"))
            std::filesystem::rename(temp_ + "/kept.ini", settings_);
        std::filesystem::remove_all(temp_);
    }

    // The main window's handle, from its widget.
    WindowHandle main_window() const {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->inherits("QMainWindow") && widget->isVisible())
                return WindowHandle{widget->property("tavimor_handle").toInt()};
        return kNoWindow;
    }
    void press(int command) {
        auto* bar = static_cast<QToolBar*>(platform_.widget(toolbar()));
        for (QAction* action : bar->actions())
            if (action->property("tavimor_command").toInt() == command)
                QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
    }
    void press_with_ctrl(Qt::Key key) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::ControlModifier);
            QCoreApplication::sendEvent(platform_.widget(main_window()), &event);
        }
    }
    WindowHandle toolbar() const { return platform_.dialog_item(main_window(), ctl::kToolbar); }
    std::string status() const {
        return platform_.window_text(platform_.dialog_item(main_window(), ctl::kStatusLabel));
    }
    unsigned button(int command) const { return platform_.button_state(toolbar(), command); }

    std::string temp_;
    std::string settings_;
    int argc_ = 0;
    QtPlatform platform_{argc_, nullptr};
};

TEST_F(QtApplication, StepsForwardWithTheToolbarAndBackWithCtrlLeft) {
    const std::string sample = data_path("sample_320x240.ivf");
    bool checked = false;
    QTimer::singleShot(0, [&] {
        checked = true;
        ASSERT_NE(main_window(), kNoWindow);
        EXPECT_EQ(platform_.window_text(main_window()), sample);
        EXPECT_EQ(status(), "Frame 1");
        WindowHandle tabs = platform_.dialog_item(main_window(), ctl::kViewTabBar);
        ASSERT_EQ(platform_.tab_count(tabs), 4);
        EXPECT_EQ(platform_.tab_text(tabs, 1), "Pre-LoopFilter");
        EXPECT_EQ(platform_.window_rect(tabs).width(), 350);

        for (int i = 0; i < 3; ++i) press(cmd::kStepForward);
        EXPECT_EQ(status(), "Frame 4");
        EXPECT_EQ(button(cmd::kStepForward), kButtonEnabled);  // popped back out
        press_with_ctrl(Qt::Key_Left);
        EXPECT_EQ(status(), "Frame 3");
        for (int command : {cmd::kStop, cmd::kPlay, cmd::kPause, cmd::kStepForward,
                            cmd::kStepBackward, cmd::kFastForward, cmd::kFastRewind})
            EXPECT_EQ(button(command), kButtonEnabled) << command;
        EXPECT_FALSE(platform_.timer_period(main_window(), 1));

        press(cmd::kPlay);
        EXPECT_EQ(button(cmd::kPlay), kButtonEnabled | kButtonChecked);
        EXPECT_EQ(platform_.timer_period(main_window(), 1), 66);
        press(cmd::kPause);
        EXPECT_EQ(button(cmd::kPause), kButtonEnabled | kButtonChecked);
        EXPECT_EQ(button(cmd::kPlay), kButtonEnabled);
        EXPECT_FALSE(platform_.timer_period(main_window(), 1));

        platform_.widget(main_window())->window()->close();  // the close request
    });
    EXPECT_EQ(run_application(platform_, {sample}), 0);
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace tavimor::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
