// The command table walked row by row, with a module that records what it is asked.
#include "shell/command_table.h"

#include <set>

#include "resources/command_ids.h"
#include "resources/menu_templates.h"
#include "resources/toolbar_template.h"
#include "shell/module_registry.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"
#include "tests/shell/spy_module.h"

namespace tavimor::test {
namespace {

// Every command identifier of a menu template, submenus included.
void collect(std::span<const MenuItemTemplate> items, std::set<int>& commands) {
    for (const MenuItemTemplate& item : items) {
        if (item.is_submenu)
            collect(item.submenu, commands);
        else if (item.command != 0)
            commands.insert(item.command);
    }
}

TEST(CommandTable, RowsDoNotOverlapAndEveryMenuAndButtonCommandHasOne) {
    std::set<int> seen;
    for (const CommandRow& row : command_table()) {
        ASSERT_LE(row.first, row.last);
        for (int id = row.first; id <= row.last; ++id)
            EXPECT_TRUE(seen.insert(id).second) << id << " is in two rows";
    }
    std::set<int> commands;
    for (std::string_view name : {kMenuBarName, std::string_view("VP8POPUP")})
        collect(find_menu_template(name)->items, commands);
    for (const ToolbarButtonTemplate& button : toolbar_template())
        if (button.command != 0) commands.insert(button.command);
    for (int command : commands) EXPECT_NE(find_command(command), nullptr) << command;
    // Left to default processing on purpose.
    EXPECT_EQ(find_command(235), nullptr);
    EXPECT_EQ(find_command(cmd::kBothFields), nullptr);
}

class CommandsWithoutStream : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        spy_ = &SpyModule::install();
    }
    SpyModule* spy_ = nullptr;
};

TEST_F(CommandsWithoutStream, ThoseThatNeedAStreamDoNothing) {
    then([&] {
        for (const CommandRow& row : command_table()) {
            if (!row.needs_stream) continue;
            for (int id = row.first; id <= row.last; ++id) {
                spy_->calls.clear();
                const unsigned button_before = button(id);
                const size_t boxes = platform_.message_boxes().size();
                platform_.send_message(main_window(), msg::kCommand, command_parameter(id), 0);
                EXPECT_TRUE(spy_->calls.empty()) << id << " reached the module";
                EXPECT_EQ(platform_.message_boxes().size(), boxes) << id;
                EXPECT_EQ(button(id), button_before) << id;
                for (const char* name : {"MBSEARCHDLG", "PICANALYZERDLG", "DISPCTRLDLG",
                                         "MBINFODLG", "PIXELINFODLG", "HDRINFODLG", "SUMMARYDLG"})
                    EXPECT_FALSE(platform_.is_window_visible(platform_.find_dialog(name)))
                        << id << " showed " << name;
            }
        }
        EXPECT_EQ(view_state().overlay_flags, 2);
        EXPECT_TRUE(platform_.file_dialogs().empty());
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(CommandsWithoutStream, StartMbInfoDumpAsksForAStreamFirst) {
    then([&] { platform_.send_message(main_window(), msg::kCommand, command_parameter(302), 0); });
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text, "Please open a stream file first.");
    EXPECT_EQ(platform_.message_boxes()[0].caption, "Tavimor(VP8 Only) 2.00");
}

TEST_F(CommandsWithoutStream, ModuleCommandsReachTheModuleWithTheirParameters) {
    then([&] {
        for (int id : {257, 291, 292, 301, 306, 307, 309, 311, 312, 313, 314}) {
            spy_->calls.clear();
            platform_.send_message(main_window(), msg::kCommand, command_parameter(id), 77);
            ASSERT_GE(spy_->calls.size(), 1u) << id;
            EXPECT_EQ(spy_->calls[0], "command" + std::to_string(id));
            EXPECT_EQ(spy_->command_extras.back(), 77);
            EXPECT_EQ(spy_->command_messages.back(), msg::kCommand);
            // The picture is presented again afterwards.
            EXPECT_EQ(spy_->calls.back(), "refresh0") << id;
        }
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(CommandsWithoutStream, UnknownCommandsGoToDefaultProcessing) {
    then([&] {
        spy_->calls.clear();
        platform_.send_message(main_window(), msg::kCommand, command_parameter(235), 0);
        platform_.send_message(main_window(), msg::kCommand, command_parameter(4242), 0);
        EXPECT_TRUE(spy_->calls.empty());
    });
    EXPECT_EQ(run(), 0);
}

class CommandsWithStream : public CommandsWithoutStream {};

TEST_F(CommandsWithStream, OverlayTogglesKeepFlagAndButtonTogether) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        ASSERT_TRUE(spy_->opened);
        // The module enables the buttons when it opens; the spy does not, so do it here.
        for (int id = 251; id <= 255; ++id)
            platform_.set_button_state(toolbar(), id, kButtonEnabled);
        for (int id = 251; id <= 255; ++id) {
            const int bit = 1 << ((id + 6) % 32);
            const bool was_on = view_state().overlay_flags & bit;
            ASSERT_TRUE(press(id));
            EXPECT_EQ(bool(view_state().overlay_flags & bit), !was_on) << id;
            EXPECT_EQ(button(id), kButtonEnabled | (was_on ? 0u : kButtonChecked)) << id;
            EXPECT_EQ(view_state().refresh_request, kRefreshRedraw);
            EXPECT_EQ(spy_->calls.back(), "refresh0");
        }
        // MB Rect starts on: two toggles give back flags 2 and its button checked.
        view_state().overlay_flags = 2;
        choose(251);
        choose(251);
        EXPECT_EQ(view_state().overlay_flags, 2);
        EXPECT_EQ(button(251), kButtonEnabled | kButtonChecked);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(CommandsWithStream, MbTypeTogglesItsButtonAndRedraws) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        const unsigned before = button(256);
        spy_->calls.clear();
        choose(256);
        EXPECT_EQ(button(256), before ^ kButtonChecked);
        ASSERT_GE(spy_->calls.size(), 2u);
        EXPECT_EQ(spy_->calls[0], "refresh1");
        choose(256);
        EXPECT_EQ(button(256), before);
    });
    EXPECT_EQ(run(), 0);
}

}  // namespace
}  // namespace tavimor::test
