// The loop filter: the per-level parameter table, per-macroblock levels and the pass over every
// macroblock edge.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

void build_filter_levels(DecoderInstance& instance);
void refresh_variance_thresholds(DecoderInstance& instance, int frame_type);
void filter_frame_edges(DecoderInstance& instance, FrameBuffer& frame);
// The frame pass in parts, for filtering each row once the row below it is
// decoded: the frame's levels, the edges of one macroblock row, and noting the
// frame's filter settings as the last ones.
void prepare_loop_filter(DecoderInstance& instance);
void filter_mb_row(const DecoderInstance& instance, const FrameBuffer& frame, int row);
void finish_loop_filter(DecoderInstance& instance);

}  // namespace vp8
