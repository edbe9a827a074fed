// Reconstruction of one macroblock: tokens, residual, prediction, sum.
#include "vp8dec/macroblock_builder.h"

#include <initializer_list>

#include "vp8dec/coefficient_tokens.h"
#include "vp8dec/factor_tables.h"
#include "vp8dec/inter_prediction.h"
#include "vp8dec/intra_prediction.h"
#include "vp8dec/mb_modes.h"
#include "vp8dec/residual_stage.h"

namespace vp8 {

namespace {

void add_residual_mb(const DecoderInstance& instance, MacroblockContext& mb) {
    const KernelTable& k = instance.kernels;
    for (int strip = 0; strip < 4; ++strip)
        k.add_residual_16x4(mb.prediction + strip * 64, mb.residual + strip * 64,
                            mb.dst_y + strip * 4 * mb.dst_y_stride, mb.dst_y_stride);
    for (int plane = 0; plane < 2; ++plane) {
        uint8_t* dst = plane == 0 ? mb.dst_u : mb.dst_v;
        const int offset = 256 + plane * 64;
        for (int strip = 0; strip < 2; ++strip)
            k.add_residual_8x4(mb.prediction + offset + strip * 32,
                               mb.residual + offset + strip * 32,
                               dst + strip * 4 * mb.dst_uv_stride, mb.dst_uv_stride);
    }
}

void predict_chroma_intra(const MacroblockContext& mb, uint8_t* u_dst, uint8_t* v_dst, int pitch) {
    const int mode = mb.record->uv_mode;
    predict_intra_block(mode, mb.dst_u, mb.dst_uv_stride, 8, mb.has_above, mb.has_left, u_dst,
                        pitch);
    predict_intra_block(mode, mb.dst_v, mb.dst_uv_stride, 8, mb.has_above, mb.has_left, v_dst,
                        pitch);
}

// Sub-block prediction and reconstruction, each sub-block seeing the ones before it.
void build_subblocks(const DecoderInstance& instance, MacroblockContext& mb) {
    const int stride = mb.dst_y_stride;
    uint8_t* y = mb.dst_y;
    // The above-right samples of the right column come from the row above the macroblock.
    for (int row : {3, 7, 11})
        for (int c = 16; c < 20; ++c) y[row * stride + c] = y[-stride + c];
    for (int b = 0; b < 16; ++b) {
        const int r = b >> 2, c = b & 3;
        uint8_t* at = y + r * 4 * stride + c * 4;
        uint8_t* prediction = mb.prediction + r * 4 * 16 + c * 4;
        predict_subblock(mb.record->subblocks[b].mode, at, stride, prediction, 16);
        instance.kernels.add_residual_4x4(prediction, mb.residual + r * 4 * 16 + c * 4, at, stride);
    }
    const KernelTable& k = instance.kernels;
    for (int plane = 0; plane < 2; ++plane) {
        uint8_t* dst = plane == 0 ? mb.dst_u : mb.dst_v;
        const int offset = 256 + plane * 64;
        for (int strip = 0; strip < 2; ++strip)
            k.add_residual_8x4(mb.prediction + offset + strip * 32,
                               mb.residual + offset + strip * 32,
                               dst + strip * 4 * mb.dst_uv_stride, mb.dst_uv_stride);
    }
}

void reconstruct_with_residual(DecoderInstance& instance, MacroblockContext& mb, bool intra) {
    if (instance.segmentation.enabled) select_mb_factors(instance, mb);
    residual_stage(instance, mb);
    if (!intra) {
        predict_inter_mb(instance, mb,
                         {mb.prediction, mb.prediction + 256, mb.prediction + 320, 16, 8});
        add_residual_mb(instance, mb);
        return;
    }
    predict_chroma_intra(mb, mb.prediction + 256, mb.prediction + 320, 8);
    if (mb.record->mode == B_PRED) {
        build_subblocks(instance, mb);
        return;
    }
    predict_luma16_to_store(mb.record->mode, mb.dst_y, mb.dst_y_stride, mb.has_above, mb.has_left,
                            mb.prediction);
    add_residual_mb(instance, mb);
}

void predict_without_residual(DecoderInstance& instance, MacroblockContext& mb, bool intra) {
    write_empty_coef_records(instance);
    mb.record->has_residual = 0;
    if (!intra) {
        predict_inter_mb(instance, mb,
                         {mb.dst_y, mb.dst_u, mb.dst_v, mb.dst_y_stride, mb.dst_uv_stride});
        return;
    }
    predict_chroma_intra(mb, mb.dst_u, mb.dst_v, mb.dst_uv_stride);
    predict_luma16_to_frame(mb.record->mode, mb.dst_y, mb.dst_y_stride, mb.has_above, mb.has_left);
}

}  // namespace

void build_macroblock(DecoderInstance& instance, MacroblockContext& mb) {
    MbAnalysisRecord& record = *mb.record;
    int total = 0;
    if (record.skip) {
        clear_mb_token_contexts(mb);
    } else {
        total = read_mb_tokens(instance, mb);
    }
    if (instance.token_observer)
        instance.token_observer(instance.token_observer_user, instance, mb,
                                record.skip ? nullptr : mb.coefs);
    const bool intra = instance.frame_type == 0 || record.ref_frame == INTRA_FRAME;
    if (!intra && record.need_to_clamp) clamp_prediction_vectors(mb);
    record.has_residual = 1;
    if (record.mode == B_PRED || record.mode == SPLITMV || total != 0)
        reconstruct_with_residual(instance, mb, intra);
    else
        predict_without_residual(instance, mb, intra);
}

}  // namespace vp8
