#include "shell/view_state.h"

#include <algorithm>
#include <cstring>

namespace tavimor {

ViewState& view_state() {
    static ViewState state{};
    return state;
}

void set_path(std::array<char, kPathCapacity>& field, std::string_view text) {
    size_t length = std::min(text.size(), field.size() - 1);
    std::memcpy(field.data(), text.data(), length);
    field[length] = '\0';
}

std::string_view path_of(const std::array<char, kPathCapacity>& field) {
    return {field.data(), strnlen(field.data(), field.size())};
}

void reset_view_state(ViewState& state) {
    state.current_frame_index = -1;
    state.frames_per_second = 15;
    state.speed_factor = 1;
    state.direction = 0;
    state.playing = 0;
    state.overlay_flags = kOverlayMbRect;
    state.statistics_type = kStatisticsOff;
    state.component_mask = 7;
    state.bit_plane_mask = -1;
    state.vertical_zoom = 1;
    state.reference_loaded = 0;
    state.selected_tab = 0;
    state.scroll_x = 0;
    state.scroll_y = 0;
    set_path(state.current_stream_path, "video.h264");
    set_path(state.chosen_file_path, "");
    state.shown_picture = PlanarPicture{};
    if (state.mb_info_dump_file <= 0) {
        state.mb_info_dump_file = 0;
        state.dump_type = 0;
        state.dump_path.fill('\0');
    }
    // The stream kind and the codec code outlive a Close: a cancelled open
    // chooses its module by the kind left from the last open.
    state.structure_kind = 0;
}

}  // namespace tavimor
