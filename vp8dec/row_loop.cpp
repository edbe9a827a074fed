// The macroblock row loop: every macroblock of the frame in raster order.
#include "vp8dec/row_loop.h"

#include <cstring>

#include "vp8dec/decode_clock.h"
#include "vp8dec/frame_borders.h"
#include "vp8dec/inter_prediction.h"
#include "vp8dec/loop_filter.h"
#include "vp8dec/macroblock_builder.h"
#include "vp8dec/mb_modes.h"
#include "vp8dec/mode_rows.h"
#include "vp8dec/picture_capture.h"
#include "vp8dec/row_threads.h"

namespace vp8 {

namespace {

const FrameBuffer& reference_buffer(const DecoderInstance& instance, int ref_frame) {
    switch (ref_frame) {
        case GOLDEN_FRAME:
            return *instance.golden;
        case ALTREF_FRAME:
            return *instance.altref;
        default:
            return *instance.last;
    }
}

// A whole-macroblock vector is held once, in the first luma entry.
void take_over_vectors(MacroblockContext& mb) {
    const MbAnalysisRecord& record = *mb.record;
    if (record.mode == SPLITMV) {
        for (int b = 0; b < 16; ++b) mb.block_mvs[b] = record.subblocks[b].mv;
    } else {
        mb.block_mvs[0] = record.mv;
    }
}

void position_macroblock(DecoderInstance& instance, MacroblockContext& mb, int row, int col) {
    FrameBuffer& frame = *instance.new_frame;
    mb.mb_col = col;
    mb.edge_dist_left = -(col * 128);
    mb.edge_dist_right = (instance.mb_cols - 1 - col) * 128;
    mb.has_left = col > 0;
    const size_t y_offset = static_cast<size_t>(16 * row) * frame.y_stride + 16 * col;
    const size_t uv_offset = static_cast<size_t>(8 * row) * frame.uv_stride + 8 * col;
    mb.dst_y = frame.y + y_offset;
    mb.dst_u = frame.u + uv_offset;
    mb.dst_v = frame.v + uv_offset;
    mb.dst_y_stride = frame.y_stride;
    mb.dst_uv_stride = frame.uv_stride;
    const FrameBuffer& ref = reference_buffer(instance, mb.record->ref_frame);
    mb.ref_y = ref.y + y_offset;
    mb.ref_u = ref.u + uv_offset;
    mb.ref_v = ref.v + uv_offset;
    mb.ref_y_stride = ref.y_stride;
    mb.ref_uv_stride = ref.uv_stride;
}

}  // namespace

void start_mb_row(DecoderInstance& instance, MacroblockContext& mb, int row) {
    std::memset(&mb.left, 0, sizeof(mb.left));
    mb.mb_row = row;
    mb.has_above = row > 0;
    mb.edge_dist_top = -(row * 128);
    mb.edge_dist_bottom = (instance.mb_rows - 1 - row) * 128;
    mb.token_reader = &instance.token_readers[row % instance.token_partitions];
}

void read_macroblock_tokens(DecoderInstance& instance, MacroblockContext& mb, int col,
                            MacroblockLevels& levels) {
    const BitMark start = bit_mark(*mb.token_reader);
    mb.mb_col = col;
    mb.record = mb_record(instance, mb.mb_row, col);
    mb.above = instance.above_contexts + col;
    read_macroblock_levels(instance, mb, levels);
    mb.record->bits += bits_between(start, bit_mark(*mb.token_reader));
}

void reconstruct_macroblock_at(DecoderInstance& instance, MacroblockContext& mb, int col,
                               MacroblockLevels& levels, bool capture) {
    mb.record = mb_record(instance, mb.mb_row, col);
    position_macroblock(instance, mb, mb.mb_row, col);
    if (instance.frame_type != 0 && mb.record->ref_frame != INTRA_FRAME) {
        take_over_vectors(mb);
        derive_chroma_mvs(mb, instance.full_pixel);
    }
    reconstruct_macroblock(instance, mb, levels);
    if (capture) capture_mb_prediction(instance, mb);
}

void decode_macroblock(DecoderInstance& instance, MacroblockContext& mb, int col, bool capture) {
    read_macroblock_tokens(instance, mb, col, mb.levels);
    reconstruct_macroblock_at(instance, mb, col, mb.levels, capture);
}

bool filters_in_rows(const DecoderInstance& instance) {
    // Without analysis nothing captures the picture before the loop filter, so
    // each row is filtered while still in cache, once the row below it (whose
    // intra prediction reads it unfiltered) is decoded.
    return instance.loop_filter.filter_level > 0 && !instance.analysis;
}

void filter_row_timed(DecoderInstance& instance, int row) {
    const int64_t start = now_microseconds();
    filter_mb_row(instance, *instance.new_frame, row);
    instance.total_filter_time += now_microseconds() - start;
}

void decode_modes_and_rows(DecoderInstance& instance) {
    const bool on_threads = instance.row_threads && !instance.analysis && !instance.token_observer;
    if (!on_threads) read_frame_modes(instance, nullptr);
    std::memset(instance.above_contexts, 0, sizeof(TokenContext) * instance.mb_cols);
    const bool filter_rows = filters_in_rows(instance);
    instance.filter_in_rows = filter_rows;
    if (filter_rows) prepare_loop_filter(instance);
    if (on_threads) {
        decode_rows_on_threads(*instance.row_threads, instance, filter_rows);
    } else {
        MacroblockContext& mb = instance.mb;
        const bool capture = prepare_prediction_capture(instance);
        mb.keep_prediction = capture;
        for (int row = 0; row < instance.mb_rows; ++row) {
            start_mb_row(instance, mb, row);
            for (int col = 0; col < instance.mb_cols; ++col)
                decode_macroblock(instance, mb, col, capture);
            if (capture) capture_prediction_row(instance, row);
            extend_row_right_edge(*instance.new_frame, row);
            if (filter_rows && row > 0) filter_row_timed(instance, row - 1);
        }
        if (filter_rows) filter_row_timed(instance, instance.mb_rows - 1);
    }
    if (filter_rows) finish_loop_filter(instance);
}

}  // namespace vp8
