#include "shell/view_state.h"

#include <gtest/gtest.h>

#include "resources/command_ids.h"

namespace tavimor {
namespace {

TEST(ViewState, ResetRestoresTheDefaultsWhateverCameBefore) {
    ViewState state{};
    state.current_frame_index = 41;
    state.frames_per_second = 60;
    state.speed_factor = 3;
    state.direction = 1;
    state.playing = 1;
    state.overlay_flags = 0x3E;
    state.component_mask = 255;
    state.bit_plane_mask = 0x80;
    state.vertical_zoom = 2;
    state.selected_tab = 3;
    state.scroll_x = 7;
    state.structure_kind = 4;
    set_path(state.current_stream_path, "/videos/clip.ivf");
    set_path(state.chosen_file_path, "/videos/clip.webm");
    reset_view_state(state);
    EXPECT_EQ(state.current_frame_index, -1);
    EXPECT_EQ(state.frames_per_second, 15);
    EXPECT_EQ(state.speed_factor, 1);
    EXPECT_EQ(state.direction, 0);
    EXPECT_EQ(state.playing, 0);
    EXPECT_EQ(state.overlay_flags, 2);
    EXPECT_EQ(state.statistics_type, 0);
    EXPECT_EQ(state.component_mask, 7);
    EXPECT_EQ(state.bit_plane_mask, -1);
    EXPECT_EQ(state.vertical_zoom, 1);
    EXPECT_EQ(state.selected_tab, 0);
    EXPECT_EQ(state.scroll_x, 0);
    EXPECT_EQ(state.structure_kind, 0);
    EXPECT_EQ(path_of(state.current_stream_path), "video.h264");
    EXPECT_EQ(path_of(state.chosen_file_path), "");
    EXPECT_EQ(state.shown_picture.width, 0);
}

TEST(ViewState, ResetKeepsWhatHasNoDefault) {
    ViewState state{};
    state.selected_x = 32;
    state.origin_y = 94;
    state.picture_width = 320;
    state.stream_kind = 7;
    state.codec_code = 2;
    set_path(state.temp_directory, "/tmp/");
    reset_view_state(state);
    EXPECT_EQ(state.selected_x, 32);
    EXPECT_EQ(state.origin_y, 94);
    EXPECT_EQ(state.picture_width, 320);
    EXPECT_EQ(state.stream_kind, 7);
    EXPECT_EQ(state.codec_code, 2);
    EXPECT_EQ(path_of(state.temp_directory), "/tmp/");
}

TEST(ViewState, AnOpenDumpFileSurvivesTheReset) {
    ViewState state{};
    state.mb_info_dump_file = 9;
    state.dump_type = 2;
    state.dump_path[0] = 'd';
    reset_view_state(state);
    EXPECT_EQ(state.mb_info_dump_file, 9);
    EXPECT_EQ(state.dump_type, 2);
    state.mb_info_dump_file = 0;
    reset_view_state(state);
    EXPECT_EQ(state.dump_type, 0);
    EXPECT_EQ(state.dump_path[0], '\0');
}

TEST(ViewState, ViewCommandsOwnOverlayBitsOneToFive) {
    EXPECT_EQ(overlay_bit(cmd::kMbRect), kOverlayMbRect);
    EXPECT_EQ(overlay_bit(cmd::kMbBlocks), kOverlayMbBlocks);
    EXPECT_EQ(overlay_bit(cmd::kMbMvs), kOverlayMbMvs);
    EXPECT_EQ(overlay_bit(cmd::kSliceBoundary), kOverlaySliceBoundary);
    EXPECT_EQ(overlay_bit(cmd::kMbPopup), kOverlayMbPopup);
    EXPECT_EQ(kOverlayMbRect, 2);
    EXPECT_EQ(kOverlayMbPopup, 32);
}

TEST(ViewState, PathsAreCutToTheirFieldAndTerminated) {
    std::array<char, kPathCapacity> field{};
    std::string long_path(400, 'a');
    set_path(field, long_path);
    EXPECT_EQ(path_of(field).size(), kPathCapacity - 1);
    EXPECT_EQ(field.back(), '\0');
    set_path(field, "short");
    EXPECT_EQ(path_of(field), "short");
}

TEST(ViewState, OneRecordForTheProcess) {
    EXPECT_EQ(&view_state(), &view_state());
}

}  // namespace
}  // namespace tavimor
