// Filling the kernel tables: plain versions first, then vector variants by
// feature bits.
#include "vp8dec/kernels/kernel_table.h"

#include "vp8dec/kernels/plain_kernels.h"
#include "vp8dec/kernels/vector_kernels.h"

namespace vp8 {

void fill_plain_kernels(KernelTable& t) {
    t.inverse_dct_dc = plain::inverse_dct_dc;
    t.inverse_wht_dc = plain::inverse_wht_dc;
    t.inverse_wht_4x4 = plain::inverse_wht_4x4;
    t.block_copy_16x16 = plain::block_copy_16x16;
    t.block_copy_8x8 = plain::block_copy_8x8;
    t.block_copy_8x4 = plain::block_copy_8x4;
    t.add_residual_4x4 = plain::add_residual_4x4;
    t.add_residual_8x4 = plain::add_residual_8x4;
    t.add_residual_16x4 = plain::add_residual_16x4;
    t.add_dc_4x4 = plain::add_dc_4x4;
    t.add_dc_16x4 = plain::add_dc_16x4;
    t.six_tap_pred_16x16 = plain::six_tap_pred_16x16;
    t.six_tap_pred_8x8 = plain::six_tap_pred_8x8;
    t.six_tap_pred_chroma_8x8 = plain::six_tap_pred_chroma_8x8;
    t.six_tap_pred_8x4 = plain::six_tap_pred_8x4;
    t.six_tap_pred_4x4 = plain::six_tap_pred_4x4;
    t.bilin_pred_16x16 = plain::bilin_pred_16x16;
    t.bilin_pred_8x8 = plain::bilin_pred_8x8;
    t.bilin_pred_8x4 = plain::bilin_pred_8x4;
    t.bilin_pred_4x4 = plain::bilin_pred_4x4;
    t.normal_mb_edge_left = plain::normal_mb_edge_left;
    t.normal_inner_vertical = plain::normal_inner_vertical;
    t.normal_mb_edge_top = plain::normal_mb_edge_top;
    t.normal_inner_horizontal = plain::normal_inner_horizontal;
    t.simple_mb_edge_left = plain::simple_mb_edge_left;
    t.simple_inner_vertical = plain::simple_inner_vertical;
    t.simple_mb_edge_top = plain::simple_mb_edge_top;
    t.simple_inner_horizontal = plain::simple_inner_horizontal;
    t.normal_vertical_edges = plain::normal_vertical_edges;
    t.simple_vertical_edges = plain::simple_vertical_edges;
}

void fill_plain_scaling(ScalingTable& t) {
    t.scale_block = plain::scale_block;
    t.scale_and_inverse_dct = plain::scale_and_inverse_dct;
    t.scale_and_inverse_dct_with_dc = plain::scale_and_inverse_dct_with_dc;
    t.scale_inverse_dct_add = plain::scale_inverse_dct_add;
}

void fill_kernel_table(KernelTable& table, int features) {
    fill_plain_kernels(table);
    apply_vector_kernels(table, features);
}

void fill_scaling_table(ScalingTable& table, int features) {
    fill_plain_scaling(table);
    apply_vector_scaling(table, features);
}

}  // namespace vp8
