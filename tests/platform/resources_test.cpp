// The resource tables: what the rest of the program looks up must be there.
#include <gtest/gtest.h>

#include <set>

#include "resources/command_ids.h"
#include "resources/dialog_templates.h"
#include "resources/image_ids.h"
#include "resources/images.h"
#include "resources/menu_templates.h"
#include "resources/string_table.h"
#include "resources/toolbar_template.h"

namespace tavimor {
namespace {

TEST(Resources, EveryDialogExistsWithUniqueControlIdentifiers) {
    for (const char* name :
         {"FILETYPEDLG", "DEMUXERTYPEDLG", "VIDEOOUTPUTDLG", "FPSDLG", "GOTODLG",
          "CONTAINERSTRUCTDLG", "MBSEARCHDLG", "PICANALYZERDLG", "DISPCTRLDLG", "HDRINFODLG",
          "MBINFODLG", "PIXELINFODLG", "SUMMARYDLG", "MSGDIALOG"}) {
        const DialogTemplate* dialog = find_dialog_template(name);
        ASSERT_NE(dialog, nullptr) << name;
        std::set<int> ids;
        for (const ControlTemplate& control : dialog->controls) {
            if (control.id == kUnaddressedControl) continue;
            EXPECT_TRUE(ids.insert(control.id).second) << name << " repeats " << control.id;
            EXPECT_LE(control.x + control.width, dialog->width) << name << " " << control.id;
            EXPECT_LE(control.y + control.height, dialog->height) << name << " " << control.id;
        }
    }
    EXPECT_EQ(find_dialog_template("FPSDLG")->title, "Set FPS");
    EXPECT_EQ(find_dialog_template("DISPCTRLDLG")->title, "Display Control");
    EXPECT_EQ(find_dialog_template("nothing"), nullptr);
}

TEST(Resources, ToolbarHasThirtyFourPositionsWithTooltipsAndImages) {
    auto buttons = toolbar_template();
    ASSERT_EQ(buttons.size(), 34u);
    EXPECT_EQ(buttons[0].command, cmd::kOpen);
    EXPECT_EQ(buttons[1].style, ButtonStyle::kSeparator);
    EXPECT_EQ(buttons[29].command, cmd::kDecOrderPlayback);
    EXPECT_EQ(buttons[32].image, 30);
    for (const ToolbarButtonTemplate& button : buttons) {
        if (button.style == ButtonStyle::kSeparator) continue;
        EXPECT_FALSE(load_string(button.command).empty()) << button.command;
        const Image& image = toolbar_image(button.image);
        EXPECT_EQ(image.width, 16) << button.image;
        EXPECT_EQ(image.height, 16) << button.image;
    }
    const Image& strip = load_image(kToolbarStrip);
    EXPECT_EQ(strip.width, 16 * kToolbarImageCount);
    EXPECT_EQ(load_image(kAppIcon).width, 16);
    EXPECT_EQ(load_image(kBrowseImage).height, 16);
    EXPECT_EQ(load_image(12345).width, 0);
}

TEST(Resources, PopupMenusShowTheirFirstSubmenu) {
    const MenuTemplate* popup = find_menu_template("VP8POPUP");
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->items.size(), 1u);
    EXPECT_EQ(popup->items[0].submenu.size(), 3u);
    const MenuTemplate* edit = find_menu_template("EDITPOPUP");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->items[0].submenu[1].submenu.size(), 9u);
    EXPECT_EQ(load_string(cmd::kVerticalZoom), "Vertical Zoom");
}

TEST(PixelArt, ParsesPaletteAndRowsAndSkipsBrokenEntries) {
    auto entries = parse_pixel_art(
        "colour r ff0000\n"
        "strip 0 good\n"
        "r.\n"
        ".r\n"
        "strip 1 ragged\n"
        "rr\n"
        "r\n"
        "image 5 unknown colour\n"
        "zz\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "good");
    EXPECT_EQ(entries[0].image.at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(entries[0].image.at(1, 0), 0u);
}

}  // namespace
}  // namespace tavimor
