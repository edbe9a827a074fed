#include <initializer_list>

#include "vp8dec/inter_prediction.h"

#include "vp8dec/mb_modes.h"

namespace vp8 {

namespace {

int halve_toward_zero_rounded(int v) {
    return v < 0 ? (v - 1) / 2 : (v + 1) / 2;
}
int eighth_toward_zero_rounded(int s) {
    return s < 0 ? (s - 4) / 8 : (s + 4) / 8;
}

// The predictors of the stream's filter; the bilinear filter predicts the U
// and V blocks one after the other (no chroma pair).
struct SubpixelSet {
    SubpixelFn p16x16, p8x8, p8x4, p4x4;
    SubpixelChromaFn chroma;
};

SubpixelSet subpixel_set(const DecoderInstance& instance) {
    const KernelTable& k = instance.kernels;
    if (instance.bilinear_motion)
        return {k.bilin_pred_16x16, k.bilin_pred_8x8, k.bilin_pred_8x4, k.bilin_pred_4x4, nullptr};
    return {k.six_tap_pred_16x16, k.six_tap_pred_8x8, k.six_tap_pred_8x4, k.six_tap_pred_4x4,
            k.six_tap_pred_chroma_8x8};
}

// Predicts one w x h block whose position in the reference plane is ref.
void predict_block(const DecoderInstance& instance, const SubpixelSet& set, int w, int h,
                   const uint8_t* ref, int ref_stride, const MotionVector& mv, uint8_t* dst,
                   int dst_pitch) {
    const uint8_t* src = ref + (mv.row >> 3) * ref_stride + (mv.col >> 3);
    const int frac_col = mv.col & 7;
    const int frac_row = mv.row & 7;
    const KernelTable& k = instance.kernels;
    if (frac_col | frac_row) {
        const SubpixelFn fn = w == 16  ? set.p16x16
                              : w == 8 ? (h == 8 ? set.p8x8 : set.p8x4)
                                       : set.p4x4;
        fn(src, ref_stride, frac_col, frac_row, dst, dst_pitch);
        return;
    }
    if (w == 16) {
        k.block_copy_16x16(src, ref_stride, dst, dst_pitch);
    } else if (w == 8) {
        (h == 8 ? k.block_copy_8x8 : k.block_copy_8x4)(src, ref_stride, dst, dst_pitch);
    } else {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) dst[r * dst_pitch + c] = src[r * ref_stride + c];
    }
}

// The U and V blocks of a macroblock without split vectors.
void predict_chroma(const DecoderInstance& instance, const SubpixelSet& set,
                    const MacroblockContext& mb, const MotionVector& mv, uint8_t* dst_u,
                    uint8_t* dst_v, int dst_pitch) {
    const int offset = (mv.row >> 3) * mb.ref_uv_stride + (mv.col >> 3);
    const int frac_col = mv.col & 7, frac_row = mv.row & 7;
    if (set.chroma && (frac_col | frac_row)) {
        set.chroma(mb.ref_u + offset, mb.ref_v + offset, mb.ref_uv_stride, frac_col, frac_row,
                   dst_u, dst_v, dst_pitch);
        return;
    }
    predict_block(instance, set, 8, 8, mb.ref_u, mb.ref_uv_stride, mv, dst_u, dst_pitch);
    predict_block(instance, set, 8, 8, mb.ref_v, mb.ref_uv_stride, mv, dst_v, dst_pitch);
}

// One row of 4x4 blocks, in pairs: one 8x4 prediction when both vectors of a
// pair agree, else two 4x4 predictions.
void predict_pairs(const DecoderInstance& instance, const SubpixelSet& set, const uint8_t* ref,
                   int ref_stride, const MotionVector* mvs, int first_block, int blocks_in_row,
                   uint8_t* dst, int dst_pitch) {
    for (int b = 0; b < blocks_in_row; b += 2) {
        const uint8_t* ref_at = ref + b * 4;
        uint8_t* dst_at = dst + b * 4;
        const MotionVector& a = mvs[first_block + b];
        const MotionVector& c = mvs[first_block + b + 1];
        if (a == c) {
            predict_block(instance, set, 8, 4, ref_at, ref_stride, a, dst_at, dst_pitch);
        } else {
            predict_block(instance, set, 4, 4, ref_at, ref_stride, a, dst_at, dst_pitch);
            predict_block(instance, set, 4, 4, ref_at + 4, ref_stride, c, dst_at + 4, dst_pitch);
        }
    }
}

int16_t clamp_luma(int c, int low_edge, int high_edge) {
    if (c < low_edge - 152) return static_cast<int16_t>(low_edge - 128);
    if (c > high_edge + 144) return static_cast<int16_t>(high_edge + 128);
    return static_cast<int16_t>(c);
}

int16_t clamp_chroma(int c, int low_edge, int high_edge) {
    if (2 * c < low_edge - 152) return static_cast<int16_t>((low_edge - 128) >> 1);
    if (2 * c > high_edge + 144) return static_cast<int16_t>((high_edge + 128) >> 1);
    return static_cast<int16_t>(c);
}

void clamp_luma_vector(MotionVector& mv, const MacroblockContext& mb) {
    mv.col = clamp_luma(mv.col, mb.edge_dist_left, mb.edge_dist_right);
    mv.row = clamp_luma(mv.row, mb.edge_dist_top, mb.edge_dist_bottom);
}

void clamp_chroma_vector(MotionVector& mv, const MacroblockContext& mb) {
    mv.col = clamp_chroma(mv.col, mb.edge_dist_left, mb.edge_dist_right);
    mv.row = clamp_chroma(mv.row, mb.edge_dist_top, mb.edge_dist_bottom);
}

}  // namespace

void derive_chroma_mvs(MacroblockContext& mb, bool whole_sample_chroma) {
    const MbAnalysisRecord& record = *mb.record;
    const int mask = whole_sample_chroma ? ~7 : ~0;
    if (record.mode != SPLITMV) {
        const MotionVector mv = {
            static_cast<int16_t>(halve_toward_zero_rounded(record.mv.row) & mask),
            static_cast<int16_t>(halve_toward_zero_rounded(record.mv.col) & mask)};
        mb.block_mvs[16] = mv;
        return;
    }
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            const int first = 8 * r + 2 * c;
            int row_sum = 0, col_sum = 0;
            for (int b : {first, first + 1, first + 4, first + 5}) {
                row_sum += mb.block_mvs[b].row;
                col_sum += mb.block_mvs[b].col;
            }
            const MotionVector mv = {
                static_cast<int16_t>(eighth_toward_zero_rounded(row_sum) & mask),
                static_cast<int16_t>(eighth_toward_zero_rounded(col_sum) & mask)};
            mb.block_mvs[16 + 2 * r + c] = mv;
            mb.block_mvs[20 + 2 * r + c] = mv;
        }
}

void clamp_prediction_vectors(MacroblockContext& mb) {
    if (mb.record->mode != SPLITMV) {
        clamp_luma_vector(mb.block_mvs[0], mb);
        clamp_chroma_vector(mb.block_mvs[16], mb);
        return;
    }
    for (int b = 0; b < 16; ++b) clamp_luma_vector(mb.block_mvs[b], mb);
    for (int b = 16; b < 24; ++b) clamp_chroma_vector(mb.block_mvs[b], mb);
}

void predict_inter_mb(const DecoderInstance& instance, const MacroblockContext& mb) {
    const SubpixelSet set = subpixel_set(instance);
    const MbAnalysisRecord& record = *mb.record;
    if (record.mode != SPLITMV) {
        predict_block(instance, set, 16, 16, mb.ref_y, mb.ref_y_stride, mb.block_mvs[0], mb.dst_y,
                      mb.dst_y_stride);
        predict_chroma(instance, set, mb, mb.block_mvs[16], mb.dst_u, mb.dst_v, mb.dst_uv_stride);
        return;
    }
    if (record.partitioning == SPLIT_4X4) {
        for (int quad_row = 0; quad_row < 4; ++quad_row)
            predict_pairs(instance, set, mb.ref_y + quad_row * 4 * mb.ref_y_stride, mb.ref_y_stride,
                          mb.block_mvs, quad_row * 4, 4, mb.dst_y + quad_row * 4 * mb.dst_y_stride,
                          mb.dst_y_stride);
    } else {
        for (int b : {0, 2, 8, 10}) {
            const int offset_y = (b >> 2) * 4;
            const int offset_x = (b & 3) * 4;
            predict_block(instance, set, 8, 8, mb.ref_y + offset_y * mb.ref_y_stride + offset_x,
                          mb.ref_y_stride, mb.block_mvs[b],
                          mb.dst_y + offset_y * mb.dst_y_stride + offset_x, mb.dst_y_stride);
        }
    }
    predict_pairs(instance, set, mb.ref_u, mb.ref_uv_stride, mb.block_mvs, 16, 2, mb.dst_u,
                  mb.dst_uv_stride);
    predict_pairs(instance, set, mb.ref_u + 4 * mb.ref_uv_stride, mb.ref_uv_stride, mb.block_mvs,
                  18, 2, mb.dst_u + 4 * mb.dst_uv_stride, mb.dst_uv_stride);
    predict_pairs(instance, set, mb.ref_v, mb.ref_uv_stride, mb.block_mvs, 20, 2, mb.dst_v,
                  mb.dst_uv_stride);
    predict_pairs(instance, set, mb.ref_v + 4 * mb.ref_uv_stride, mb.ref_uv_stride, mb.block_mvs,
                  22, 2, mb.dst_v + 4 * mb.dst_uv_stride, mb.dst_uv_stride);
}

}  // namespace vp8
