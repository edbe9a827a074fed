// Intra predictors: whole-block luma (16x16) and chroma (8x8), and the ten
// 4x4 sub-block modes. They read the reconstructed samples around the block
// in the frame and write the prediction to dst.
#pragma once

#include <cstdint>

namespace vp8 {

// size is 16 for luma, 8 for chroma; frame_at is the block's first sample.
void predict_intra_block(int mode, const uint8_t* frame_at, int stride, int size, bool has_above,
                         bool has_left, uint8_t* dst, int dst_pitch);

// Luma 16x16 prediction straight into the frame.
void predict_luma16_to_frame(int mode, uint8_t* frame_at, int stride, bool has_above,
                             bool has_left);

// frame_at is the sub-block's first sample; above-right samples are read at
// columns 4..7 of the row above.
void predict_subblock(int mode, const uint8_t* frame_at, int stride, uint8_t* dst, int dst_pitch);

}  // namespace vp8
