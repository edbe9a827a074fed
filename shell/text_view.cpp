#include "shell/text_view.h"

#include "platform/font_request.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/shell.h"

namespace tavimor {

namespace {

// Position of "Change Font Size" in the popup.
constexpr int kFontSizeItem = 1;
// The font size of a size command is its identifier less this.
constexpr int kFontSizeBase = cmd::kFontSizeFirst - 8;

FontRequest text_font(int size) {
    FontRequest font;
    font.face = "Lucida Console";
    font.cell_height = size;
    font.weight = 400;
    font.pitch_and_family = 0x01 | 0x30;  // fixed pitch, modern
    return font;
}

void track_edit_popup(Platform& platform, WindowHandle control, intptr_t packed_screen) {
    MenuHandle menu = platform.load_menu("EDITPOPUP");
    MenuHandle popup = platform.submenu(menu, 0);
    if (popup == kNoMenu) {
        platform.destroy_menu(menu);
        return;
    }
    const bool sizes = platform.control_id(control) == ctl::kPixelInfoText;
    platform.enable_menu_item(popup, by_position(kFontSizeItem), sizes);
    platform.track_popup_menu(popup, control, unpack_point(packed_screen));
    platform.destroy_menu(menu);
}

intptr_t on_command(Platform& platform, WindowHandle control, int command) {
    if (command == cmd::kSelectAll) {
        platform.select_all_text(control);
        return 1;
    }
    if (command >= cmd::kFontSizeFirst && command <= cmd::kFontSizeLast) {
        platform.set_font(control, text_font(command - kFontSizeBase));
        platform.invalidate(control);
        return 1;
    }
    return 0;
}

}  // namespace

void install_text_view(Shell& shell, WindowHandle control) {
    Platform& platform = shell.platform;
    platform.set_control_proc(control,
                              [&platform](WindowHandle self, unsigned message, uintptr_t first,
                                          intptr_t second) -> intptr_t {
                                  if (message == msg::kContextMenu) {
                                      track_edit_popup(platform, self, second);
                                      return 1;
                                  }
                                  if (message == msg::kCommand)
                                      return on_command(platform, self, command_id(first));
                                  return 0;
                              });
}

}  // namespace tavimor
