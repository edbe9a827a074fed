// Intra predictors: whole-block luma (16x16) and chroma (8x8), and the ten
// 4x4 sub-block modes. Each reads the reconstructed samples around its block
// in the frame and writes the prediction over the block itself.
#pragma once

#include <cstdint>

namespace vp8 {

// at is the block's first sample in the frame.
void predict_luma16_to_frame(int mode, uint8_t* at, int stride, bool has_above, bool has_left);
void predict_chroma_to_frame(int mode, uint8_t* at, int stride, bool has_above, bool has_left);

// at is the sub-block's first sample; above-right samples are read at columns
// 4..7 of the row above.
void predict_subblock_to_frame(int mode, uint8_t* at, int stride);

}  // namespace vp8
