// Dialogs from templates on the headless window system: the scripted user,
// what the dialog procedure hears and the control states read back.
#include <gtest/gtest.h>

#include <vector>

#include "platform/canvas.h"
#include "platform/headless/headless_platform.h"
#include "platform/message_box.h"
#include "resources/control_ids.h"

namespace tavimor {
namespace {

struct Heard {
    unsigned message;
    int id;
    int notification;
};

class DialogTest : public ::testing::Test {
  protected:
    // A procedure that records what it hears, ends on OK (1) and Cancel (2).
    WindowProc recorder() {
        return
            [this](WindowHandle dialog, unsigned message, uintptr_t first, intptr_t) -> intptr_t {
                heard_.push_back({message, command_id(first), command_notification(first)});
                if (message == msg::kCommand &&
                    (command_id(first) == ctl::kOk || command_id(first) == ctl::kCancel))
                    platform_.end_dialog(dialog, command_id(first));
                return 0;
            };
    }

    HeadlessPlatform platform_;
    WindowHandle main_ = platform_.create_main_window("main", nullptr);
    std::vector<Heard> heard_;
};

TEST_F(DialogTest, MessageBoxAnswersAreScriptedAndRecorded) {
    platform_.answer_next_message_box(mb::kAnswerYes);
    int answer =
        platform_.message_box(main_, "clip.ivf is opened, close it?", "Close file?", mb::kYesNo);
    EXPECT_EQ(answer, mb::kAnswerYes);
    // Unscripted: OK boxes answer OK, Yes/No boxes answer No.
    EXPECT_EQ(
        platform_.message_box(main_, "This file is not supported!", "Warning", mb::kIconError),
        mb::kAnswerOk);
    EXPECT_EQ(platform_.message_box(main_, "again?", "Close file?", mb::kYesNo), mb::kAnswerNo);
    ASSERT_EQ(platform_.message_boxes().size(), 3u);
    const auto& first = platform_.message_boxes()[0];
    EXPECT_EQ(first.text, "clip.ivf is opened, close it?");
    EXPECT_EQ(first.caption, "Close file?");
    EXPECT_EQ(first.style & mb::kButtonMask, mb::kYesNo);
    EXPECT_EQ(platform_.message_boxes()[1].style & mb::kIconMask, mb::kIconError);
}

TEST_F(DialogTest, ModalDialogRunsItsScriptAndReportsHowItEnded) {
    std::string typed;
    CheckState syntax = CheckState::kUnchecked;
    platform_.script_next_dialog(
        "DEMUXERTYPEDLG", [&](HeadlessPlatform& user, WindowHandle dialog) {
            WindowHandle list = user.dialog_item(dialog, ctl::kTypeList);
            for (const char* kind : {"H264 Annex B", "H264 RTP", "MP4/3GP FILE", "MPEG2 TS FILE"})
                user.list_add(list, kind);
            EXPECT_TRUE(user.choose_list_entry(dialog, ctl::kTypeList, 3));
            EXPECT_TRUE(user.click(dialog, ctl::kEnableSyntaxParsing));
            syntax = user.check_state(user.dialog_item(dialog, ctl::kEnableSyntaxParsing));
            EXPECT_TRUE(user.click(dialog, ctl::kOk));
        });
    intptr_t result = platform_.run_dialog("DEMUXERTYPEDLG", main_, recorder());
    EXPECT_EQ(result, ctl::kOk);
    EXPECT_EQ(syntax, CheckState::kChecked);
    ASSERT_GE(heard_.size(), 4u);
    EXPECT_EQ(heard_[0].message, msg::kInitDialog);
    // Choosing an entry: selection change, then selection-end-OK.
    EXPECT_EQ(heard_[1].id, ctl::kTypeList);
    EXPECT_EQ(heard_[2].notification, notify::kComboSelectionEndOk);
    EXPECT_EQ(heard_[3].id, ctl::kEnableSyntaxParsing);
    EXPECT_EQ(heard_[3].notification, notify::kButtonClicked);
    EXPECT_EQ(platform_.find_dialog("DEMUXERTYPEDLG"), kNoWindow);  // a modal dialog is gone after
}

TEST_F(DialogTest, UnscriptedModalDialogIsCancelled) {
    EXPECT_EQ(platform_.run_dialog("FPSDLG", main_, recorder()), ctl::kCancel);
    ASSERT_GE(heard_.size(), 3u);
    EXPECT_EQ(heard_[1].message, msg::kCommand);  // Cancel, as Escape sends it
    EXPECT_EQ(heard_[1].id, ctl::kCancel);
    EXPECT_EQ(heard_.back().message, msg::kDestroy);
    // Even when the procedure ignores Cancel.
    EXPECT_EQ(platform_.run_dialog(
                  "FPSDLG", main_,
                  [](WindowHandle, unsigned, uintptr_t, intptr_t) -> intptr_t { return 0; }),
              ctl::kCancel);
    EXPECT_EQ(platform_.run_dialog("NOSUCHDLG", main_, recorder()), -1);
}

TEST_F(DialogTest, ControlsOfTheTemplateAreAddressedByTheirIdentifiers) {
    WindowHandle go_to = platform_.create_dialog("GOTODLG", main_, recorder());
    ASSERT_NE(go_to, kNoWindow);
    EXPECT_FALSE(platform_.is_window_visible(go_to));  // modeless dialogs start hidden
    for (int id : {ctl::kGotoColumn, ctl::kGotoRow, ctl::kGotoFrame, ctl::kOk, ctl::kCancel})
        EXPECT_NE(platform_.dialog_item(go_to, id), kNoWindow) << id;
    // Controls are seen only once their dialog is; hidden template controls stay hidden.
    EXPECT_FALSE(platform_.is_window_visible(platform_.dialog_item(go_to, ctl::kGotoColumn)));
    platform_.show_window(go_to, ShowCommand::kShow);
    EXPECT_FALSE(platform_.is_window_visible(platform_.dialog_item(go_to, ctl::kGotoFrame)));
    EXPECT_TRUE(platform_.is_window_visible(platform_.dialog_item(go_to, ctl::kGotoColumn)));
    EXPECT_EQ(platform_.window_text(platform_.dialog_item(go_to, ctl::kOk)), "GO");
    EXPECT_TRUE(platform_.type_text(go_to, ctl::kGotoColumn, "12"));
    EXPECT_EQ(platform_.window_text(platform_.dialog_item(go_to, ctl::kGotoColumn)), "12");
    EXPECT_EQ(platform_.dialog_item(go_to, 9999), kNoWindow);
    EXPECT_FALSE(platform_.click(go_to, 9999));
}

TEST_F(DialogTest, RadioButtonsOfAGroupExcludeEachOther) {
    WindowHandle display = platform_.create_dialog("DISPCTRLDLG", main_, recorder());
    auto state = [&](int id) { return platform_.check_state(platform_.dialog_item(display, id)); };
    platform_.click(display, ctl::kStatisticsQpRadio);
    platform_.click(display, ctl::kStatisticsBitsRadio);
    EXPECT_EQ(state(ctl::kStatisticsBitsRadio), CheckState::kChecked);
    EXPECT_EQ(state(ctl::kStatisticsQpRadio), CheckState::kUnchecked);
    // Check boxes beside the group are not part of it.
    platform_.click(display, ctl::kComponentY);
    EXPECT_EQ(state(ctl::kComponentY), CheckState::kChecked);
    EXPECT_EQ(state(ctl::kStatisticsBitsRadio), CheckState::kChecked);
    check_radio_button(platform_, display, ctl::kStatisticsOffRadio, ctl::kStatisticsQpCbRadio,
                       ctl::kStatisticsQpCbRadio);
    EXPECT_EQ(state(ctl::kStatisticsQpCbRadio), CheckState::kChecked);
    EXPECT_EQ(state(ctl::kStatisticsBitsRadio), CheckState::kUnchecked);
}

TEST_F(DialogTest, DisabledOrHiddenControlsIgnoreClicks) {
    WindowHandle display = platform_.create_dialog("DISPCTRLDLG", main_, recorder());
    WindowHandle box = platform_.dialog_item(display, ctl::kComponentU);
    platform_.enable_window(box, false);
    heard_.clear();
    platform_.click(display, ctl::kComponentU);
    EXPECT_EQ(platform_.check_state(box), CheckState::kUnchecked);
    EXPECT_TRUE(heard_.empty());
}

TEST_F(DialogTest, TabsTreesAndTextViews) {
    WindowHandle info = platform_.create_dialog("MBINFODLG", main_, recorder());
    WindowHandle tabs = platform_.dialog_item(info, ctl::kMbInfoTabs);
    platform_.tab_insert(tabs, 0, "MB Info");
    platform_.tab_insert(tabs, 1, "Pred Info");
    EXPECT_EQ(platform_.tab_selection(tabs), 0);
    heard_.clear();
    std::vector<NotifyHeader> notes;
    platform_.create_dialog("SUMMARYDLG", main_, nullptr);
    WindowHandle pixel = platform_.create_dialog(
        "PIXELINFODLG", main_,
        [&](WindowHandle, unsigned message, uintptr_t, intptr_t second) -> intptr_t {
            if (message == msg::kNotify) notes.push_back(notify_header(second));
            return 0;
        });
    WindowHandle pixel_tabs = platform_.dialog_item(pixel, ctl::kPixelInfoTabs);
    for (const char* name : {"Final", "Pre-LoopFilter", "Predicted", "Residual", "Coef"})
        platform_.tab_insert(pixel_tabs, -1, name);
    platform_.tab_select(pixel_tabs, 2);  // from code: no notification
    EXPECT_TRUE(notes.empty());
    EXPECT_TRUE(platform_.choose_tab(pixel_tabs, 4));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].code, notify::kTabSelectionChange);
    EXPECT_EQ(notes[0].id, ctl::kPixelInfoTabs);
    EXPECT_EQ(platform_.tab_text(pixel_tabs, 4), "Coef");

    WindowHandle header = platform_.create_dialog("HDRINFODLG", main_, nullptr);
    WindowHandle tree = platform_.dialog_item(header, ctl::kHeaderTree);
    TreeItem root = platform_.tree_insert(tree, kTreeRoot, "frame_header");
    platform_.tree_insert(tree, root, "key_frame");
    platform_.tree_insert(tree, root, "show_frame");
    EXPECT_EQ(platform_.tree_child_count(tree, kTreeRoot), 1);
    EXPECT_EQ(platform_.tree_item_text(tree, platform_.tree_child(tree, root, 1)), "show_frame");
    platform_.tree_clear(tree);
    EXPECT_EQ(platform_.tree_child_count(tree, kTreeRoot), 0);

    WindowHandle text = platform_.dialog_item(info, ctl::kMbInfoText);
    platform_.set_window_text(text, "==== MB 0(0, 0) ====\r\n");
    platform_.select_all_text(text);
    EXPECT_TRUE(platform_.all_text_selected(text));
    platform_.set_font(text, {"Lucida Console", 11, 400, false, false, false, 0x31});
    EXPECT_EQ(platform_.font(text)->face, "Lucida Console");
}

TEST_F(DialogTest, DialogsPaintWithACanvas) {
    WindowHandle graphs = platform_.create_dialog(
        "PICANALYZERDLG", main_,
        [](WindowHandle, unsigned message, uintptr_t, intptr_t second) -> intptr_t {
            if (message == msg::kPaint && second) {
                Canvas& canvas = *paint_canvas(second);
                canvas.select_pen(rgb(255, 0, 0));
                canvas.move_to(30, 70);
                canvas.line_to(30, 198);
            }
            return 0;
        });
    auto lines = platform_.paint(graphs);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].to, (Point{30, 198}));
}

TEST_F(DialogTest, FileDialogsRecordTheRequestAndGiveTheScriptedAnswer) {
    platform_.answer_next_file_dialog("/videos/clip.ivf");
    platform_.answer_next_file_dialog(std::nullopt);
    FileDialogRequest request;
    request.filters = {{"All", "*.*"}, {"vp8", "*.vp8"}};
    request.file_must_exist = true;
    EXPECT_EQ(platform_.open_file_dialog(main_, request), "/videos/clip.ivf");
    EXPECT_EQ(platform_.save_file_dialog(main_, request), std::nullopt);
    ASSERT_EQ(platform_.file_dialogs().size(), 2u);
    EXPECT_FALSE(platform_.file_dialogs()[0].save);
    EXPECT_EQ(platform_.file_dialogs()[1].request.filters[1].pattern, "*.vp8");
}

}  // namespace
}  // namespace tavimor
