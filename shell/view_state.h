// The view state: the one record through which the shell, the current codec
// module, the display and the dialogs agree on what is shown and how. One
// instance for the process; everything runs on the window thread.
#pragma once

#include <array>
#include <string_view>

#include "shell/planar_picture.h"

namespace tavimor {

inline constexpr size_t kPathCapacity = 260;

// Overlay flag bits; the bit of view command c (251 to 255) is (c + 6) mod 32.
inline constexpr int kOverlayMbRect = 1 << 1;
inline constexpr int kOverlayMbBlocks = 1 << 2;
inline constexpr int kOverlayMbMvs = 1 << 3;
inline constexpr int kOverlaySliceBoundary = 1 << 4;
inline constexpr int kOverlayMbPopup = 1 << 5;
constexpr int overlay_bit(int command) {
    return 1 << ((command + 6) % 32);
}

// Values of the refresh request.
inline constexpr int kRefreshNone = 0;     // only present the surface again
inline constexpr int kRefreshDecoded = 1;  // a new picture: rebuild picture, label and views
inline constexpr int kRefreshRedraw = 2;   // rebuild the picture from the chosen view

// Statistics types.
inline constexpr int kStatisticsOff = 0;
inline constexpr int kStatisticsBits = 1;
inline constexpr int kStatisticsQpY = 2;
inline constexpr int kStatisticsQpCr = 3;
inline constexpr int kStatisticsQpCb = 4;

// Component mask after the popup's "off": every component.
inline constexpr int kAllComponents = 255;

struct ViewState {
    int current_frame_index;  // picture shown; -1 before the first decode
    int frames_per_second;
    int speed_factor;  // 1 to 3
    int direction;     // 1 forward, 0 backward
    int playing;
    int overlay_flags;
    int statistics_type;
    int component_mask;  // 4 Y, 2 U, 1 V
    int bit_plane_mask;  // bit n shows bit plane n
    int vertical_zoom;
    int reference_loaded;
    int selected_tab;
    int refresh_request;
    int selected_x;  // pixel position of the selected macroblock
    int selected_y;
    int origin_x;  // client position of the picture's top-left corner
    int origin_y;
    int scroll_x;  // scroll positions in pixels
    int scroll_y;
    int picture_width;
    int picture_height;
    std::array<char, kPathCapacity> current_stream_path;
    std::array<char, kPathCapacity> chosen_file_path;
    std::array<char, kPathCapacity> temp_directory;  // ends with a separator
    PlanarPicture shown_picture;
    int mb_info_dump_file;  // descriptor; 0 or less: none
    int dump_type;          // 0 MB Pred Info, 1 Residual Pixel Info, 2 DCT Coef Info
    std::array<char, kPathCapacity> dump_path;  // UTF-8, as every path here
    int stream_kind;
    int structure_kind;
    int codec_code;
};

// The process's view state, zeroed at start-up.
ViewState& view_state();

// Sets the fields that have a default to it (start-up and every Close).
// The stream kind and the codec code keep their values (both start at 0), and
// a dump file that is still open is kept with its type and path, so that it
// can still be ended and closed.
void reset_view_state(ViewState& state);

// Copies text into a fixed path field, cut to fit, always terminated.
void set_path(std::array<char, kPathCapacity>& field, std::string_view text);
std::string_view path_of(const std::array<char, kPathCapacity>& field);

}  // namespace tavimor
