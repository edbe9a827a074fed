// Frame edges for intra prediction, row edge extension and border replication.
#pragma once

#include "vp8dec/frame_buffer.h"

namespace vp8 {

void setup_intra_borders(FrameBuffer& frame);
void extend_row_right_edge(FrameBuffer& frame, int mb_row);
void replicate_borders(FrameBuffer& frame);

}  // namespace vp8
