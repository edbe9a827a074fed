// The plain kernel versions; they define the output of every variant.
#pragma once

#include "vp8dec/kernels/kernel_table.h"

namespace vp8::plain {

// The full inverse DCT of 16 dequantised values; the decoder reaches it through
// the dequantising kernels, the analyser's residual view directly.
void inverse_dct_4x4(const int16_t* in, int16_t* out, int pitch);
IdctFromValue inverse_dct_dc;
Wht inverse_wht_dc, inverse_wht_4x4;
BlockCopy block_copy_16x16, block_copy_8x8, block_copy_8x4;
AddResidual add_residual_4x4, add_residual_8x4, add_residual_16x4;
AddDc add_dc_4x4;
AddDcRow add_dc_16x4;
Subpixel six_tap_pred_16x16, six_tap_pred_8x8, six_tap_pred_8x4, six_tap_pred_4x4;
SubpixelChroma six_tap_pred_chroma_8x8;
Subpixel bilin_pred_16x16, bilin_pred_8x8, bilin_pred_8x4, bilin_pred_4x4;
EdgeFilter normal_mb_edge_left, normal_inner_vertical, normal_mb_edge_top, normal_inner_horizontal;
EdgeFilter simple_mb_edge_left, simple_inner_vertical, simple_mb_edge_top, simple_inner_horizontal;
EdgeFilter normal_vertical_edges, simple_vertical_edges;
ScaleBlock scale_block;
ScaleIdct scale_and_inverse_dct;
ScaleIdctWithDc scale_and_inverse_dct_with_dc;
ScaleIdctAdd scale_inverse_dct_add;

}  // namespace vp8::plain
