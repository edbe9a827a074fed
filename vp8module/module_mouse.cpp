// The mouse on the picture: a left click selects a macroblock, and while
// "MB Popup" is on a tip names the macroblock under the mouse.
#include <string>

#include "platform/messages.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/information_views.h"
#include "vp8module/mode_names.h"
#include "vp8module/picture_records.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;

// The picture position under a client point.
Point picture_position(const ViewState& view, intptr_t packed_point) {
    const Point client = unpack_point(packed_point);
    return {client.x - view.origin_x + view.scroll_x, client.y - view.origin_y + view.scroll_y};
}

bool inside_picture(const ViewState& view, Point at) {
    const int zoom = view.vertical_zoom;
    return at.x >= 0 && at.y >= 0 && at.x < view.picture_width &&
           at.y < view.shown_picture.height * zoom;
}

bool picture_shown(const Vp8ModuleState& state, const ViewState& view) {
    return state.record && view.current_frame_index > 0;
}

// The tip goes; coming back to the same macroblock shows it again.
void hide_tip(Vp8ModuleState& state) {
    ShellServices& services = shell_services();
    if (services.hide_tip) services.hide_tip();
    state.tip_column = state.tip_row = -1;
}

}  // namespace

void vp8_module_left_click(unsigned, intptr_t packed_point) {
    Vp8ModuleState& state = vp8_module_state();
    ViewState& view = view_state();
    const Point at = picture_position(view, packed_point);
    if (!inside_picture(view, at) || !picture_shown(state, view)) return;
    const int zoom = view.vertical_zoom > 0 ? view.vertical_zoom : 1;
    const Point selected{at.x, at.y / zoom};
    if (selected.x / kMbSize == view.selected_x / kMbSize &&
        selected.y / kMbSize == view.selected_y / kMbSize)
        return;
    view.selected_x = selected.x;
    view.selected_y = selected.y;
    view.refresh_request = kRefreshRedraw;
    vp8_module_refresh(0);
    show_mb_info(state);
    show_pixel_info(state);
}

int vp8_module_mouse_move(WindowHandle, intptr_t packed_point) {
    Vp8ModuleState& state = vp8_module_state();
    const ViewState& view = view_state();
    const Point at = picture_position(view, packed_point);
    if (!(view.overlay_flags & kOverlayMbPopup) || !inside_picture(view, at) ||
        !picture_shown(state, view)) {
        hide_tip(state);
        return 0;
    }
    const int zoom = view.vertical_zoom > 0 ? view.vertical_zoom : 1;
    const int column = at.x / kMbSize;
    const int row = (at.y / kMbSize) / zoom;
    if (column == state.tip_column && row == state.tip_row) return 0;
    const vp8::MbAnalysisRecord& record = mb_record(state, column, row);
    const int number = column + row * (view.picture_width / kMbSize);
    const std::string text = std::to_string(number) + "(" + std::to_string(column) + "," +
                             std::to_string(row) + ")\r\n" + std::string(mb_mode_name(record.mode));
    ShellServices& services = shell_services();
    if (services.show_tip) services.show_tip(text, unpack_point(packed_point));
    state.tip_column = column;
    state.tip_row = row;
    return 0;
}

}  // namespace tavimor
