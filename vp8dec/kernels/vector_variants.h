// The vector variants of the kernels, one namespace per instruction set. Each
// is compiled for its instruction set alone and is called only through the
// kernel tables, once the processor is known to run it. Every variant gives
// exactly its plain twin's output (plain_kernels.h) and touches no memory the
// plain twin does not.
#pragma once

#include <cstdint>

#include "vp8dec/kernels/kernel_table.h"

namespace vp8::sse2 {

void idct_dc_from_coefs(const int16_t* coefs, int16_t* out, int pitch);
void inverse_dct_4x4(const int16_t* in, int16_t* out, int pitch);
void inverse_dct_dc(int dc, int16_t* out, int pitch);
void inverse_wht_dc(const int16_t* in, int16_t* out);
void inverse_wht_4x4(const int16_t* in, int16_t* out);
void scale_block(const int16_t* levels, const int16_t* factors, int16_t* out);
void scale_and_inverse_dct(int16_t* levels, const int16_t* factors, int16_t* out, int pitch);
void scale_and_inverse_dct_with_dc(int16_t* levels, const int16_t* factors, int16_t* out, int pitch,
                                   int dc);

void add_residual_4x4(const uint8_t* prediction, const int16_t* residual, uint8_t* dst, int stride);
void add_residual_8x4(const uint8_t* prediction, const int16_t* residual, uint8_t* dst, int stride);
void add_residual_16x4(const uint8_t* prediction, const int16_t* residual, uint8_t* dst,
                       int stride);

void block_copy_16x16(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch);
void block_copy_8x8(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch);
void block_copy_8x4(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch);

void six_tap_pred_16x16(const uint8_t* src, int src_stride, int frac_col, int frac_row,
                        uint8_t* dst, int dst_pitch);
void six_tap_pred_8x8(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void six_tap_pred_8x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void six_tap_pred_4x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void bilin_pred_16x16(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void bilin_pred_8x8(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);
void bilin_pred_8x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);
void bilin_pred_4x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);

void normal_mb_edge_left(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                         const FilterLevelEntry& e);
void normal_inner_vertical(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e);
void normal_mb_edge_top(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                        const FilterLevelEntry& e);
void normal_inner_horizontal(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                             const FilterLevelEntry& e);
void simple_mb_edge_left(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                         const FilterLevelEntry& e);
void simple_inner_vertical(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e);
void simple_mb_edge_top(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                        const FilterLevelEntry& e);
void simple_inner_horizontal(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                             const FilterLevelEntry& e);

}  // namespace vp8::sse2

namespace vp8::ssse3 {

void six_tap_pred_16x16(const uint8_t* src, int src_stride, int frac_col, int frac_row,
                        uint8_t* dst, int dst_pitch);
void six_tap_pred_8x8(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void six_tap_pred_8x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void six_tap_pred_4x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void bilin_pred_16x16(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void bilin_pred_8x8(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);
void bilin_pred_8x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);
void bilin_pred_4x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);

}  // namespace vp8::ssse3

namespace vp8::avx2 {

void six_tap_pred_16x16(const uint8_t* src, int src_stride, int frac_col, int frac_row,
                        uint8_t* dst, int dst_pitch);
void six_tap_pred_8x8(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void six_tap_pred_8x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void bilin_pred_16x16(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                      int dst_pitch);
void bilin_pred_8x8(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);
void bilin_pred_8x4(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                    int dst_pitch);

void normal_mb_edge_left(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                         const FilterLevelEntry& e);
void normal_inner_vertical(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e);
void normal_mb_edge_top(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                        const FilterLevelEntry& e);
void normal_inner_horizontal(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                             const FilterLevelEntry& e);

}  // namespace vp8::avx2
