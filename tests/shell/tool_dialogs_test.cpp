// The tool dialogs and the context menus: "Display Control", the picture
// analyser's histogram, the popup choices, the text views' popup, the
// information dialogs, the dump dialog and the help commands.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/histogram.h"
#include "shell/manual_path.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"

namespace tavimor::test {
namespace {

class ToolDialogs : public ShellFixture {
  protected:
    void open_sample() { open(stream("sample_320x240.ivf")); }
    WindowHandle dialog(const char* name) const { return platform_.find_dialog(name); }
    CheckState check(const char* name, int id) const {
        return platform_.check_state(platform_.dialog_item(dialog(name), id));
    }
    // The dialog's centre, relative to the main window's client area.
    Point centre_offset(WindowHandle window) const {
        const Rect own = platform_.window_rect(window);
        const Point corner = platform_.client_to_screen(main_window(), {0, 0});
        const Rect client = platform_.client_rect(main_window());
        return {own.left - corner.x - (client.width() - own.width()) / 2,
                own.top - corner.y - (client.height() - own.height()) / 2};
    }
};

TEST_F(ToolDialogs, DisplayControlChangesTheMasksAndRedrawsAtOnce) {
    then([&] {
        open_sample();
        ASSERT_TRUE(press(cmd::kPictureAnalyzer));
        WindowHandle control = dialog("DISPCTRLDLG");
        EXPECT_TRUE(platform_.is_window_visible(control));
        EXPECT_EQ(centre_offset(control), (Point{0, 0}));
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kComponentY), CheckState::kChecked);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kBitPlaneFirst + 7), CheckState::kChecked);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kStatisticsOffRadio), CheckState::kChecked);
        platform_.click(control, ctl::kComponentU);
        EXPECT_EQ(view_state().component_mask, 5);
        platform_.click(control, ctl::kBitPlaneFirst + 0);
        EXPECT_EQ(view_state().bit_plane_mask, 0xFE);
        platform_.click(control, ctl::kStatisticsBitsRadio);
        EXPECT_EQ(view_state().statistics_type, 1);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kStatisticsOffRadio), CheckState::kUnchecked);
        // The QP choices are for streams that carry QP values, which VP8's do not here.
        platform_.paint(control);
        EXPECT_FALSE(
            platform_.is_window_visible(platform_.dialog_item(control, ctl::kStatisticsQpRadio)));
        platform_.click(control, ctl::kOk);
        EXPECT_FALSE(platform_.is_window_visible(control));
        EXPECT_EQ(view_state().component_mask, 5);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ToolDialogs, TheContextMenuChoosesStatisticsAndComponents) {
    then([&] {
        open_sample();
        platform_.choose_next_popup_command(cmd::kStatisticsBits);
        platform_.open_context_menu(main_window(), {200, 200});
        ASSERT_EQ(platform_.popups().size(), 1u);
        EXPECT_EQ(platform_.popups()[0].screen, (Point{200, 200}));
        EXPECT_EQ(view_state().statistics_type, 1);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kStatisticsBitsRadio), CheckState::kChecked);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kStatisticsOffRadio), CheckState::kUnchecked);

        platform_.choose_next_popup_command(cmd::kComponentsCr);
        platform_.open_context_menu(main_window(), {200, 200});
        EXPECT_EQ(view_state().component_mask, 2);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kComponentU), CheckState::kChecked);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kComponentY), CheckState::kUnchecked);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kComponentV), CheckState::kUnchecked);

        platform_.choose_next_popup_command(cmd::kComponentsAll);
        platform_.open_context_menu(main_window(), {200, 200});
        EXPECT_EQ(view_state().component_mask, 255);
        EXPECT_EQ(check("DISPCTRLDLG", ctl::kComponentY), CheckState::kChecked);
        EXPECT_EQ(view_state().refresh_request, kRefreshNone);  // the redraw ran
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ToolDialogs, TheHistogramIsFedWhileShownAndPaintedOnItsDialog) {
    then([&] {
        open_sample();
        ASSERT_TRUE(press(cmd::kHistogram));
        WindowHandle analyzer = dialog("PICANALYZERDLG");
        EXPECT_TRUE(platform_.is_window_visible(analyzer));
        const auto lines = platform_.paint(analyzer);
        // Two red axes, then the curve over 256 values.
        ASSERT_EQ(lines.size(), 2u + 255u);
        EXPECT_EQ(lines[0].colour, rgb(255, 0, 0));
        EXPECT_EQ(lines[0].from, (Point{30, 70}));
        EXPECT_EQ(lines[1].to, (Point{286, 198}));
        int highest = 198;
        for (size_t i = 2; i < lines.size(); ++i) highest = std::min(highest, lines[i].to.y);
        EXPECT_EQ(highest, 198 - 128);  // the fullest bin reads 128
    });
    EXPECT_EQ(run(), 0);
}

TEST(Histogram, ScalesTheFullestBinTo128) {
    PlanarPicture picture{};
    ASSERT_TRUE(allocate_planar_picture(picture, 16, 4, 8, 2));
    for (int x = 0; x < 16; ++x) picture.luma_rows[0][x] = 7;  // 16 sevens, 48 zeros
    Histogram bins{};
    compute_histogram(picture, bins);
    EXPECT_EQ(bins[0], 128);
    EXPECT_EQ(bins[7], 16 * 128 / 48);
    EXPECT_EQ(bins[8], 0);
    release_planar_picture(picture);
    compute_histogram(PlanarPicture{}, bins);
    for (int32_t bin : bins) EXPECT_EQ(bin, 0);
}

TEST_F(ToolDialogs, InformationCommandsShowTheirDialogs) {
    then([&] {
        open_sample();
        const char* names[] = {"MBINFODLG", "PIXELINFODLG", "HDRINFODLG", "SUMMARYDLG"};
        for (const char* name : names) platform_.show_window(dialog(name), ShowCommand::kHide);
        const int commands[] = {cmd::kMbInfo, cmd::kPixelInfo, cmd::kHeaderInfo, cmd::kSummaryInfo};
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(press(commands[i]));
            EXPECT_TRUE(platform_.is_window_visible(dialog(names[i]))) << names[i];
        }
        // Closing one (its close button sends Cancel) only hides it.
        platform_.send_message(dialog("MBINFODLG"), msg::kCommand, command_parameter(ctl::kCancel),
                               0);
        EXPECT_FALSE(platform_.is_window_visible(dialog("MBINFODLG")));
        EXPECT_TRUE(platform_.is_window(dialog("MBINFODLG")));
        // The tab strip keeps its height when a dialog is resized; the text fills the rest.
        WindowHandle summary = dialog("SUMMARYDLG");
        platform_.move_window(summary, rect_at(0, 0, 500, 600));
        platform_.send_message(summary, msg::kSize, 0, pack_point(500, 600));
        EXPECT_EQ(platform_.window_rect(platform_.dialog_item(summary, ctl::kSummaryTabs)),
                  rect_at(0, 0, 500, 24));
        EXPECT_EQ(platform_.window_rect(platform_.dialog_item(summary, ctl::kSummaryText)),
                  rect_at(0, 24, 500, 576));
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ToolDialogs, TheTextViewsPopupSelectsAllAndSizesThePixelFont) {
    then([&] {
        open_sample();
        WindowHandle mb_text = platform_.dialog_item(dialog("MBINFODLG"), ctl::kMbInfoText);
        WindowHandle pixel_text =
            platform_.dialog_item(dialog("PIXELINFODLG"), ctl::kPixelInfoText);
        platform_.set_window_text(mb_text, "MB text");
        platform_.choose_next_popup_command(cmd::kSelectAll);
        platform_.open_context_menu(mb_text, {10, 10});
        EXPECT_TRUE(platform_.all_text_selected(mb_text));
        // The font sizes are only for the pixel text.
        platform_.choose_next_popup_command(cmd::kFontSizeFirst + 6);
        platform_.open_context_menu(mb_text, {10, 10});
        EXPECT_EQ(platform_.popups().back().chosen, 0);
        platform_.choose_next_popup_command(cmd::kFontSizeFirst + 6);
        platform_.open_context_menu(pixel_text, {10, 10});
        const std::optional<FontRequest> font = platform_.font(pixel_text);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->face, "Lucida Console");
        EXPECT_EQ(font->cell_height, 14);
        EXPECT_EQ(font->pitch_and_family & 0x0F, 1);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ToolDialogs, TheDumpDialogNeedsAPathAndOpensTheFileForTheOwnerOnly) {
    const std::string dump = temp_ + "dump.txt";
    then([&] {
        open_sample();
        int attempts = 0;
        platform_.script_next_dialog("FILETYPEDLG", [&](HeadlessPlatform& user, WindowHandle d) {
            EXPECT_EQ(user.window_text(d), "Select Dump Info Type");
            WindowHandle list = user.dialog_item(d, ctl::kTypeList);
            EXPECT_EQ(user.list_count(list), 3);
            EXPECT_EQ(user.list_text(list, 2), "DCT Coef Info");
            EXPECT_EQ(user.list_selection(list), 0);
            user.click(d, ctl::kOk);  // no path yet: stays open
            ++attempts;
            user.answer_next_file_dialog(dump);
            user.click(d, ctl::kBrowse);
            user.choose_list_entry(d, ctl::kTypeList, 1);
            user.click(d, ctl::kOk);
        });
        choose(cmd::kStartMbInfoDump);
        EXPECT_EQ(attempts, 1);
        ASSERT_GE(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(platform_.message_boxes()[0].text, "No File Selected, please Select a file");
        EXPECT_EQ(view_state().dump_type, 1);
        EXPECT_GT(view_state().mb_info_dump_file, 0);
        struct stat info {};
        ASSERT_EQ(stat(dump.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        MenuHandle tools = platform_.submenu(platform_.window_menu(main_window()), 2);
        EXPECT_FALSE(platform_.is_menu_item_enabled(tools, by_position(2)));
        EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(3)));
        choose(cmd::kEndMbInfoDump);
        EXPECT_EQ(view_state().mb_info_dump_file, 0);
        EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(2)));
        EXPECT_FALSE(platform_.is_menu_item_enabled(tools, by_position(3)));
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ToolDialogs, ADumpFileThatCannotBeMadeLeavesStartAvailable) {
    then([&] {
        open_sample();
        platform_.script_next_dialog("FILETYPEDLG", [&](HeadlessPlatform& user, WindowHandle d) {
            user.type_text(d, ctl::kPathField, temp_ + "no/such/folder/dump.txt");
            user.click(d, ctl::kOk);
        });
        choose(cmd::kStartMbInfoDump);
        ASSERT_EQ(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(platform_.message_boxes()[0].text, "Failed to open MB Info dump file");
        EXPECT_EQ(view_state().mb_info_dump_file, 0);
        MenuHandle tools = platform_.submenu(platform_.window_menu(main_window()), 2);
        EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(2)));
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ToolDialogs, TheManualOpensWhenInstalledAndIsMissedAloudOtherwise) {
    then([&] {
        choose(cmd::kManual);
        ASSERT_EQ(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(platform_.message_boxes()[0].caption, "Warning");
        EXPECT_TRUE(platform_.opened_documents().empty());
        std::ofstream(temp_ + "Tavimor.pdf") << "%PDF";
        choose(cmd::kManual);
        ASSERT_EQ(platform_.opened_documents().size(), 1u);
        EXPECT_EQ(platform_.opened_documents()[0], temp_ + "Tavimor.pdf");
        platform_.set_document_opening_fails(true);
        choose(cmd::kManual);
        EXPECT_EQ(platform_.message_boxes().back().text, "Failed to open Tavimor.pdf");
        platform_.set_document_opening_fails(false);
        press(cmd::kWebAddress);
        press(cmd::kMailAddress);
        EXPECT_EQ(platform_.opened_documents()[2].rfind("https://", 0), 0u);
        EXPECT_EQ(platform_.opened_documents()[3].rfind("mailto:", 0), 0u);
    });
    EXPECT_EQ(run(), 0);
}

TEST(ManualPath, BesideTheProgramOrInTheInstalledDocumentation) {
    const std::string root = std::filesystem::temp_directory_path() / "tavimor-manual-test/";
    std::filesystem::create_directories(root + "bin");
    std::filesystem::create_directories(root + "share/doc/tavimor");
    EXPECT_EQ(find_manual(root + "bin/tavimor"), "");
    std::ofstream(root + "share/doc/tavimor/Tavimor.pdf") << "%PDF";
    EXPECT_EQ(find_manual(root + "bin/tavimor"), root + "share/doc/tavimor/Tavimor.pdf");
    std::ofstream(root + "bin/Tavimor.pdf") << "%PDF";
    EXPECT_EQ(find_manual(root + "bin/tavimor"), root + "bin/Tavimor.pdf");
    std::filesystem::remove_all(root);
}

TEST_F(ToolDialogs, ContainerStructureExplainsWhatItNeeds) {
    then([&] {
        choose(cmd::kContainerStructure);
        open_sample();
        choose(cmd::kContainerStructure);
        ASSERT_EQ(platform_.message_boxes().size(), 2u);
        EXPECT_EQ(platform_.message_boxes()[0].text,
                  "Please open a mpeg2 ts file, mp4/3gp, flv/f4v or mkv/webm file.");
        EXPECT_EQ(platform_.message_boxes()[1].caption, "Error");
    });
    EXPECT_EQ(run(), 0);
}

}  // namespace
}  // namespace tavimor::test
