// Reconstruction of one macroblock: tokens, prediction into the frame, and the
// residual added to it there.
#include "vp8dec/macroblock_builder.h"

#include <cstring>
#include <initializer_list>

#include "vp8dec/coefficient_tokens.h"
#include "vp8dec/factor_tables.h"
#include "vp8dec/inter_prediction.h"
#include "vp8dec/intra_prediction.h"
#include "vp8dec/mb_modes.h"
#include "vp8dec/residual_stage.h"

namespace vp8 {

namespace {

void copy_rows(const uint8_t* src, int stride, uint8_t* dst, int pitch, int width, int height) {
    for (int r = 0; r < height; ++r) std::memcpy(dst + r * pitch, src + r * stride, width);
}

// Keeps the chroma prediction for the capture of predicted pictures.
void keep_chroma_prediction(MacroblockContext& mb) {
    copy_rows(mb.dst_u, mb.dst_uv_stride, mb.prediction + 256, 8, 8, 8);
    copy_rows(mb.dst_v, mb.dst_uv_stride, mb.prediction + 320, 8, 8, 8);
}

void predict_chroma_intra(const MacroblockContext& mb) {
    const int mode = mb.record->uv_mode;
    predict_chroma_to_frame(mode, mb.dst_u, mb.dst_uv_stride, mb.has_above, mb.has_left);
    predict_chroma_to_frame(mode, mb.dst_v, mb.dst_uv_stride, mb.has_above, mb.has_left);
}

// Sub-block prediction and reconstruction, each sub-block seeing the ones before it.
void build_subblocks(MacroblockContext& mb, MacroblockResidual& residual) {
    const int stride = mb.dst_y_stride;
    uint8_t* y = mb.dst_y;
    // The above-right samples of the right column come from the row above the macroblock.
    for (int row : {3, 7, 11})
        for (int c = 16; c < 20; ++c) y[row * stride + c] = y[-stride + c];
    for (int b = 0; b < 16; ++b) {
        const int r = b >> 2, c = b & 3;
        uint8_t* at = y + r * 4 * stride + c * 4;
        predict_subblock_to_frame(mb.record->subblocks[b].mode, at, stride);
        if (mb.keep_prediction) copy_rows(at, stride, mb.prediction + r * 4 * 16 + c * 4, 16, 4, 4);
        residual.add_luma_block(b);
    }
}

// Predicts the whole macroblock into the frame, then adds the residual there.
void reconstruct_with_residual(DecoderInstance& instance, MacroblockContext& mb,
                               MacroblockLevels& levels, bool intra) {
    if (instance.segmentation.enabled) select_mb_factors(instance, mb);
    MacroblockResidual residual(instance, mb, levels);
    const int mode = mb.record->mode;
    if (!intra) {
        predict_inter_mb(instance, mb);
    } else {
        predict_chroma_intra(mb);
        if (mode == B_PRED)
            build_subblocks(mb, residual);
        else
            predict_luma16_to_frame(mode, mb.dst_y, mb.dst_y_stride, mb.has_above, mb.has_left);
    }
    if (mb.keep_prediction) {
        if (mode != B_PRED) copy_rows(mb.dst_y, mb.dst_y_stride, mb.prediction, 16, 16, 16);
        keep_chroma_prediction(mb);
    }
    if (has_y2_block(mode))
        residual.add_luma_with_y2();
    else if (mode != B_PRED)
        residual.add_luma_blocks();
    residual.add_chroma();
}

void predict_without_residual(DecoderInstance& instance, MacroblockContext& mb, bool intra) {
    write_empty_coef_records(instance);
    mb.record->has_residual = 0;
    if (!intra) {
        predict_inter_mb(instance, mb);
        return;
    }
    predict_chroma_intra(mb);
    predict_luma16_to_frame(mb.record->mode, mb.dst_y, mb.dst_y_stride, mb.has_above, mb.has_left);
}

}  // namespace

void read_macroblock_levels(DecoderInstance& instance, MacroblockContext& mb,
                            MacroblockLevels& levels) {
    const MbAnalysisRecord& record = *mb.record;
    int total = 0;
    if (record.skip)
        clear_mb_token_contexts(mb);
    else
        total = read_mb_tokens(instance, mb, levels);
    if (instance.token_observer)
        instance.token_observer(instance.token_observer_user, instance, mb,
                                record.skip ? nullptr : levels.coefs);
    levels.any = total != 0;
}

void reconstruct_macroblock(DecoderInstance& instance, MacroblockContext& mb,
                            MacroblockLevels& levels) {
    MbAnalysisRecord& record = *mb.record;
    const bool intra = instance.frame_type == 0 || record.ref_frame == INTRA_FRAME;
    if (!intra && record.need_to_clamp) clamp_prediction_vectors(mb);
    record.has_residual = 1;
    if (record.mode == B_PRED || record.mode == SPLITMV || levels.any)
        reconstruct_with_residual(instance, mb, levels, intra);
    else
        predict_without_residual(instance, mb, intra);
}

}  // namespace vp8
