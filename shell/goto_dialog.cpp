#include "shell/goto_dialog.h"

#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/client_point.h"
#include "shell/decimal_field.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr size_t kFieldCharacters = 9;
constexpr int kMbSize = 16;

void set_field(Platform& platform, WindowHandle dialog, int id, int value) {
    platform.set_window_text(platform.dialog_item(dialog, id), std::to_string(value));
}

std::string field(Platform& platform, WindowHandle dialog, int id) {
    return platform.window_text(platform.dialog_item(dialog, id));
}

}  // namespace

Point goto_position(std::string_view column, std::string_view row, const ViewState& view) {
    const int64_t x = int64_t{kMbSize} * parse_decimal_field(column, kFieldCharacters);
    const int64_t y = int64_t{kMbSize} * parse_decimal_field(row, kFieldCharacters);
    const int64_t last_x = int64_t{view.picture_width} - 1;
    const int64_t last_y = int64_t{view.vertical_zoom} * view.picture_height - 1;
    return {static_cast<int>(std::max<int64_t>(0, std::min(x, last_x))),
            static_cast<int>(std::max<int64_t>(0, std::min(y, last_y)))};
}

DialogBehaviour goto_dialog() {
    DialogBehaviour behaviour;
    behaviour.initialise = [](Shell& shell, WindowHandle dialog) {
        const ViewState& view = view_state();
        set_field(shell.platform, dialog, ctl::kGotoColumn, view.selected_x / kMbSize);
        set_field(shell.platform, dialog, ctl::kGotoRow, view.selected_y / kMbSize);
        set_field(shell.platform, dialog, ctl::kGotoFrame, view.current_frame_index);
    };
    behaviour.accept = [](Shell& shell, WindowHandle dialog) {
        Platform& platform = shell.platform;
        ViewState& view = view_state();
        const Point at = goto_position(field(platform, dialog, ctl::kGotoColumn),
                                       field(platform, dialog, ctl::kGotoRow), view);
        // The click lands on the picture row, which the zoom repeats.
        const Point client = client_point_of(view, at.x, at.y / std::max(view.vertical_zoom, 1));
        platform.send_message(shell.window, msg::kLeftButtonDown, key::kLeftButtonState,
                              pack_point(client.x, client.y));
        view.current_frame_index =
            parse_decimal_field(field(platform, dialog, ctl::kGotoFrame), kFieldCharacters);
        return true;
    };
    return behaviour;
}

void run_goto_dialog(Shell& shell) {
    run_modal_dialog(shell, "GOTODLG", goto_dialog());
}

}  // namespace tavimor
