#include "shell/client_point.h"

#include "shell/view_state.h"

namespace tavimor {

Point client_point_of(const ViewState& view, int picture_x, int picture_y) {
    return {picture_x + view.origin_x - view.scroll_x,
            picture_y * view.vertical_zoom + view.origin_y - view.scroll_y};
}

}  // namespace tavimor
