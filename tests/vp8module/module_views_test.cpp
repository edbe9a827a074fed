// The module's part of the views that the window offers so far: the tabs and
// text views it gives the information dialogs, the selection by click, the
// tip, the picture analyser's feed, and what is still left empty.
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/resource_types.h"
#include "shell/module_registry.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "tests/support/test_paths.h"
#include "tests/vp8module/module_fixture.h"
#include "vp8module/mode_names.h"
#include "vp8module/picture_records.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor::test {
namespace {

class ModuleViews : public ModuleFixture {
  protected:
    WindowHandle make_dialog(const char* name) {
        return platform_.create_dialog(name, shell_services().main_window,
                                       [this](WindowHandle d, unsigned m, uintptr_t f, intptr_t s) {
                                           return module_->dialog_filter(d, m, f, s);
                                       });
    }
    intptr_t click(int x, int y) {
        module_->left_click(key::kLeftButtonState, pack_point(x, y));
        return 0;
    }
};

TEST_F(ModuleViews, TheFilterGivesTheInformationDialogsTheirTabsAndTextViews) {
    module_ = selectModule(kStreamVp8, kCodecVp8);
    std::vector<WindowHandle> viewed;
    shell_services().install_text_view = [&](WindowHandle control) { viewed.push_back(control); };
    int centred = 0;
    shell_services().centre_dialog = [&](WindowHandle) { ++centred; };

    WindowHandle pixel = make_dialog("PIXELINFODLG");
    WindowHandle tabs = platform_.dialog_item(pixel, ctl::kPixelInfoTabs);
    ASSERT_EQ(platform_.tab_count(tabs), 5);
    EXPECT_EQ(platform_.tab_text(tabs, 4), "Coef");
    EXPECT_EQ(platform_.font(platform_.dialog_item(pixel, ctl::kPixelInfoText))->cell_height, 11);
    WindowHandle header = make_dialog("HDRINFODLG");
    EXPECT_EQ(platform_.tab_text(platform_.dialog_item(header, ctl::kHeaderTabs), 0), "FrameHdr");
    WindowHandle mb_info = make_dialog("MBINFODLG");
    EXPECT_EQ(platform_.tab_text(platform_.dialog_item(mb_info, ctl::kMbInfoTabs), 1), "Pred Info");
    make_dialog("SUMMARYDLG");
    EXPECT_EQ(viewed.size(), 3u);  // the three text views, not the header's tree
    EXPECT_EQ(centred, 4);

    // The shell initialises the rest, and handles every other message.
    EXPECT_EQ(module_->dialog_filter(pixel, msg::kInitDialog, 0, 0), 0);
    EXPECT_EQ(module_->dialog_filter(pixel, msg::kCommand, 1, 0), 1);
    for (WindowHandle dialog : {make_dialog("FPSDLG"), make_dialog("MBSEARCHDLG")})
        EXPECT_EQ(module_->dialog_filter(dialog, msg::kInitDialog, 0, 0), 1);
    EXPECT_EQ(module_->dialog_filter(make_dialog("PICANALYZERDLG"), msg::kInitDialog, 0, 0), 0);
}

TEST_F(ModuleViews, ClicksSelectInsideTheShownPictureOnly) {
    ViewState& view = view_state();
    view.origin_x = 100;
    view.origin_y = 50;
    ASSERT_TRUE(open(data_path("sample_320x240.ivf")));
    click(150, 80);  // no picture shown yet
    EXPECT_EQ(view.selected_x, 0);
    step(1);
    click(150, 80);
    EXPECT_EQ(view.selected_x, 50);
    EXPECT_EQ(view.selected_y, 30);
    view.scroll_x = 16;
    click(150, 80);
    EXPECT_EQ(view.selected_x, 66);
    click(100 - 16 - 1, 80);     // left of the picture, scrolled
    click(100 + 300, 50 + 240);  // below it
    EXPECT_EQ(view.selected_x, 66);
    EXPECT_EQ(view.selected_y, 30);
}

TEST_F(ModuleViews, TheTipNamesTheMacroblockFromItsRecord) {
    ASSERT_TRUE(open(data_path("sample_320x240.ivf")));
    step(1);
    Vp8ModuleState& state = vp8_module_state();
    const vp8::MbAnalysisRecord record = mb_record(state, 19, 14);
    std::vector<std::string> tips;
    int hidden = 0;
    shell_services().show_tip = [&](std::string_view text, Point) { tips.emplace_back(text); };
    shell_services().hide_tip = [&] { ++hidden; };
    view_state().overlay_flags |= kOverlayMbPopup;
    module_->mouse_move(shell_services().main_window, pack_point(19 * 16 + 3, 14 * 16 + 3));
    module_->mouse_move(shell_services().main_window, pack_point(19 * 16 + 9, 14 * 16 + 9));
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0], "299(19,14)\r\n" + std::string(mb_mode_name(record.mode)));
    module_->mouse_move(shell_services().main_window, pack_point(400, 10));
    EXPECT_EQ(hidden, 1);
    view_state().overlay_flags &= ~kOverlayMbPopup;
    module_->mouse_move(shell_services().main_window, pack_point(10, 10));
    EXPECT_EQ(hidden, 2);
    EXPECT_TRUE(platform_.message_boxes().empty());
}

TEST_F(ModuleViews, RecordsAreReadOncePerPictureAndAShortFileIsReported) {
    ASSERT_TRUE(open(data_path("sample_320x240.ivf")));
    step(1);
    Vp8ModuleState& state = vp8_module_state();
    const vp8::MbAnalysisRecord first = mb_record(state, 3, 2);
    EXPECT_EQ(picture_records(state).size(), 20u * 15u);
    EXPECT_EQ(mb_record(state, 20, 0).mode, 0);  // outside the grid: a zero record
    // Records past the end of the file: one message, zero records.
    state.record->mbinfo_position = 1 << 30;
    EXPECT_EQ(mb_record(state, 3, 2).bits, 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text, "Failed to get mb information!");
    EXPECT_NE(first.bits, 0);
}

TEST_F(ModuleViews, RefreshFeedsThePictureAnalyserAndHonoursMbType) {
    int fed = 0;
    shell_services().feed_histogram = [&](const PlanarPicture& picture) {
        EXPECT_EQ(picture.width, 320);
        ++fed;
    };
    ASSERT_TRUE(open(data_path("sample_320x240.ivf")));
    step(1);
    EXPECT_EQ(fed, 1);
    // With "MB Type" pressed in the picture is not drawn again.
    const std::vector<uint32_t> before = platform_.client_pixels(shell_services().main_window);
    platform_.set_button_state(shell_services().toolbar, cmd::kMbType,
                               kButtonEnabled | kButtonChecked);
    view_state().selected_tab = 2;
    view_state().refresh_request = kRefreshRedraw;
    module_->refresh(1);
    EXPECT_EQ(platform_.client_pixels(shell_services().main_window), before);
}

TEST_F(ModuleViews, TheHeaderTreeFollowsThePictureShown) {
    ASSERT_TRUE(open(data_path("sample_320x240.ivf")));
    WindowHandle header =
        platform_.create_dialog("HDRINFODLG", shell_services().main_window, nullptr);
    shell_services().information.header = header;
    WindowHandle tree = platform_.dialog_item(header, ctl::kHeaderTree);
    module_->after_open_layout();
    EXPECT_EQ(platform_.tree_child_count(tree, kTreeRoot), 0);  // no picture yet
    auto children = [&] {
        return platform_.tree_child_count(tree, platform_.tree_child(tree, kTreeRoot, 0));
    };
    step(1);
    ASSERT_EQ(platform_.tree_child_count(tree, kTreeRoot), 1);
    const int key_frame_children = children();
    EXPECT_GT(key_frame_children, 5);
    step(1);
    ASSERT_EQ(platform_.tree_child_count(tree, kTreeRoot), 1);
    EXPECT_NE(children(), key_frame_children);  // an inter frame's header
    step(0);
    EXPECT_EQ(children(), key_frame_children);
    // Views catching up with the same picture (as a pause does) keep the tree
    // as the analyst left it; the next picture fills it anew.
    const TreeItem top = platform_.tree_child(tree, kTreeRoot, 0);
    view_state().refresh_request = kRefreshDecoded;
    module_->refresh(0);
    EXPECT_EQ(platform_.tree_child(tree, kTreeRoot, 0), top);
    step(1);
    EXPECT_NE(platform_.tree_child(tree, kTreeRoot, 0), top);
}

}  // namespace
}  // namespace tavimor::test
