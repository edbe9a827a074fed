// The decoder's pixel kernels, called through tables that each decoder
// instance fills when it is created: first with the plain versions, which
// define the output, then with vector variants chosen by processor features.
#pragma once

#include <cstdint>

namespace vp8 {

// Loop-filter parameters of one level, for the luma and the chroma edges.
struct FilterLevelEntry {
    int8_t interior_limit;
    int8_t subblock_edge_level;
    int8_t hev_threshold;
    int8_t mb_edge_level;
    int8_t mb_hev_threshold;
    int8_t uv_interior_limit;
    int8_t uv_subblock_edge_level;
    int8_t uv_hev_threshold;
    int8_t uv_mb_edge_level;
    int8_t uv_mb_hev_threshold;
};

// The kernels' function types; every version of a kernel (plain_kernels.h,
// vector_variants.h) is declared with its type.
//
// Transforms write int16 residual values with an output pitch in values
// (16 for luma, 8 for chroma).
using IdctFromValue = void(int dc, int16_t* out, int pitch);
using Wht = void(const int16_t* coefs, int16_t* out);
using BlockCopy = void(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch);
// Prediction and residual pitches are implied: 16 for the 4x4 and 16x4 luma
// forms, 8 for the 8x4 chroma form.
using AddResidual = void(const uint8_t* prediction, const int16_t* residual, uint8_t* dst,
                         int stride);
// Adds the inverse DCT of a block holding only a DC value to the 4x4 samples at
// dst, which hold the prediction, clamping each sum to 0..255.
using AddDc = void(int dc, uint8_t* dst, int stride);
// The same for four blocks side by side, 16 samples wide, each with its own
// DC value dc[k].
using AddDcRow = void(const int16_t* dc, uint8_t* dst, int stride);
using Subpixel = void(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
// The U and V blocks of a macroblock, 8x8 each, from the same place in their
// planes (one stride) with the same fractions, in one call.
using SubpixelChroma = void(const uint8_t* src_u, const uint8_t* src_v, int src_stride,
                            int frac_col, int frac_row, uint8_t* dst_u, uint8_t* dst_v,
                            int dst_pitch);
using EdgeFilter = void(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                        const FilterLevelEntry& entry);
// Dequantisation: levels times factors (position 0 the DC factor).
using ScaleBlock = void(const int16_t* levels, const int16_t* factors, int16_t* out);
// Dequantises, runs the full inverse DCT into out and clears the 16 levels.
using ScaleIdct = void(int16_t* levels, const int16_t* factors, int16_t* out, int pitch);
// The same with position 0 replaced by the given DC value.
using ScaleIdctWithDc = void(int16_t* levels, const int16_t* factors, int16_t* out, int pitch,
                             int dc);
// Dequantises with position 0 replaced by the given DC value, adds the full
// inverse DCT to the 4x4 samples at dst (which hold the prediction), clamping
// each sum to 0..255, and clears the 16 levels.
using ScaleIdctAdd = void(int16_t* levels, const int16_t* factors, int dc, uint8_t* dst,
                          int stride);

using IdctFromValueFn = IdctFromValue*;
using WhtFn = Wht*;
using BlockCopyFn = BlockCopy*;
using AddResidualFn = AddResidual*;
using AddDcFn = AddDc*;
using AddDcRowFn = AddDcRow*;
using SubpixelFn = Subpixel*;
using SubpixelChromaFn = SubpixelChroma*;
using EdgeFilterFn = EdgeFilter*;
using ScaleBlockFn = ScaleBlock*;
using ScaleIdctFn = ScaleIdct*;
using ScaleIdctWithDcFn = ScaleIdctWithDc*;
using ScaleIdctAddFn = ScaleIdctAdd*;

struct KernelTable {
    IdctFromValueFn inverse_dct_dc;
    WhtFn inverse_wht_dc;
    WhtFn inverse_wht_4x4;
    BlockCopyFn block_copy_16x16;
    BlockCopyFn block_copy_8x8;
    BlockCopyFn block_copy_8x4;
    AddResidualFn add_residual_4x4;
    AddResidualFn add_residual_8x4;
    AddResidualFn add_residual_16x4;
    AddDcFn add_dc_4x4;
    AddDcRowFn add_dc_16x4;
    SubpixelFn six_tap_pred_16x16;
    SubpixelFn six_tap_pred_8x8;
    SubpixelFn six_tap_pred_8x4;
    SubpixelFn six_tap_pred_4x4;
    SubpixelChromaFn six_tap_pred_chroma_8x8;
    SubpixelFn bilin_pred_16x16;
    SubpixelFn bilin_pred_8x8;
    SubpixelFn bilin_pred_8x4;
    SubpixelFn bilin_pred_4x4;
    EdgeFilterFn normal_mb_edge_left;
    EdgeFilterFn normal_inner_vertical;
    EdgeFilterFn normal_mb_edge_top;
    EdgeFilterFn normal_inner_horizontal;
    // The left macroblock edge and then the inner vertical edges, in one call.
    EdgeFilterFn normal_vertical_edges;
    EdgeFilterFn simple_mb_edge_left;
    EdgeFilterFn simple_inner_vertical;
    EdgeFilterFn simple_mb_edge_top;
    EdgeFilterFn simple_inner_horizontal;
    EdgeFilterFn simple_vertical_edges;
};

struct ScalingTable {
    ScaleBlockFn scale_block;
    ScaleIdctFn scale_and_inverse_dct;
    ScaleIdctWithDcFn scale_and_inverse_dct_with_dc;
    ScaleIdctAddFn scale_inverse_dct_add;
};

// Processor feature bits.
enum FeatureBits : int {
    kFeatureMmx = 1,
    kFeatureSse = 2,
    kFeatureSse2 = 4,
    kFeatureSse3 = 8,
    kFeatureSsse3 = 16,
    kFeatureAvx2 = 32,
    kFeatureLzcnt = 64,  // leading-zero count, used by the mode and token readers
};

// The feature bits to use: TAVIMOR_SIMD_CAPS when set and not empty (taken as
// it is), else the processor's features masked by TAVIMOR_SIMD_CAPS_MASK.
int feature_bits();

// Whether the readers may count leading zeros: asked for by the features and
// run by the processor.
bool leading_zero_count_usable(int features);

// Parses an environment value as an integer with automatic base (decimal,
// 0x hexadecimal, leading 0 octal); a value that does not convert gives 0.
int parse_feature_value(const char* text);

void fill_kernel_table(KernelTable& table, int features);
void fill_scaling_table(ScalingTable& table, int features);

// The plain versions, which define every kernel's output.
void fill_plain_kernels(KernelTable& table);
void fill_plain_scaling(ScalingTable& table);

}  // namespace vp8
