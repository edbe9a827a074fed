// Reading a frame's macroblock modes, with word of each row read for those
// that decode the rows at the same time.
#pragma once

namespace vp8 {

struct DecoderInstance;

// Told, after each row of modes, how many rows are read.
struct ModeRowsNotice {
    void (*rows_read)(void* context, int rows);
    void* context;
};

// Reads the modes and motion vectors of every macroblock of the frame: the
// key-frame or the inter-frame syntax. The notice may be null.
void read_frame_modes(DecoderInstance& instance, const ModeRowsNotice* notice);

}  // namespace vp8
