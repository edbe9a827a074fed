// The loop filter: the per-level parameter table, per-macroblock levels and
// the frame pass over every macroblock edge.
#include "vp8dec/loop_filter.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/mb_modes.h"

namespace vp8 {

namespace {

int interior_limit(int level, int sharpness) {
    int limit = level;
    if (sharpness > 0) limit >>= 1;
    if (sharpness > 4) limit >>= 1;
    if (sharpness > 0 && limit > 9 - sharpness) limit = 9 - sharpness;
    return std::max(limit, 1);
}

int hev_threshold(int level, int frame_type) {
    if (frame_type == 0) return level >= 40 ? 2 : level >= 15 ? 1 : 0;
    return level >= 40 ? 3 : level >= 20 ? 2 : level >= 15 ? 1 : 0;
}

void set_thresholds(FilterLevelEntry& entry, int level, int frame_type) {
    const auto t = static_cast<int8_t>(hev_threshold(level, frame_type));
    entry.hev_threshold = entry.mb_hev_threshold = t;
    entry.uv_hev_threshold = entry.uv_mb_hev_threshold = t;
}

// Level of each segment before reference and mode deltas.
void segment_baselines(const DecoderInstance& instance, int baselines[4]) {
    const SegmentationState& seg = instance.segmentation;
    const int frame_level = instance.loop_filter.filter_level;
    for (int s = 0; s < 4; ++s) {
        if (!seg.enabled) {
            baselines[s] = frame_level;
        } else if (seg.abs_delta) {
            // An absolute value outside the table is held at its nearest level.
            baselines[s] = std::clamp<int>(seg.feature_data[1][s], 0, 63);
        } else {
            baselines[s] = std::clamp(frame_level + seg.feature_data[1][s], 0, 63);
        }
    }
}

int mb_filter_level(const DecoderInstance& instance, const MbAnalysisRecord& record, int baseline) {
    const LoopFilterHeader& lf = instance.loop_filter;
    if (!lf.delta_enabled) return baseline;
    int level = baseline + lf.ref_deltas[record.ref_frame & 3];
    if (record.ref_frame == INTRA_FRAME) {
        if (record.mode == B_PRED) level += lf.mode_deltas[0];
    } else if (record.mode == ZEROMV) {
        level += lf.mode_deltas[1];
    } else if (record.mode == SPLITMV) {
        level += lf.mode_deltas[3];
    } else {
        level += lf.mode_deltas[2];
    }
    return std::clamp(level, 0, 63);
}

}  // namespace

void build_filter_levels(DecoderInstance& instance) {
    const int sharpness = instance.loop_filter.sharpness_level;
    for (int level = 0; level < 64; ++level) {
        FilterLevelEntry& entry = instance.filter_levels[level];
        const auto interior = static_cast<int8_t>(interior_limit(level, sharpness));
        entry.interior_limit = entry.uv_interior_limit = interior;
        entry.subblock_edge_level = entry.uv_subblock_edge_level = static_cast<int8_t>(level);
        entry.mb_edge_level = entry.uv_mb_edge_level = static_cast<int8_t>(level + 2);
        set_thresholds(entry, level, instance.frame_type);
    }
}

void refresh_variance_thresholds(DecoderInstance& instance, int frame_type) {
    for (int level = 0; level < 64; ++level)
        set_thresholds(instance.filter_levels[level], level, frame_type);
}

void prepare_loop_filter(DecoderInstance& instance) {
    const LoopFilterHeader& lf = instance.loop_filter;
    if (lf.filter_type != instance.last_filter_type ||
        lf.sharpness_level != instance.last_sharpness_level)
        build_filter_levels(instance);
    else if (instance.frame_type != instance.last_frame_type)
        refresh_variance_thresholds(instance, instance.frame_type);
    segment_baselines(instance, instance.filter_baselines);
}

void filter_mb_row(const DecoderInstance& instance, const FrameBuffer& frame, int row) {
    constexpr int kRecordsAhead = 3;
    const KernelTable& k = instance.kernels;
    const bool simple = instance.loop_filter.filter_type == 1;
    const EdgeFilterFn left_edge = simple ? k.simple_mb_edge_left : k.normal_mb_edge_left;
    const EdgeFilterFn inner_vertical = simple ? k.simple_inner_vertical : k.normal_inner_vertical;
    const EdgeFilterFn vertical_edges = simple ? k.simple_vertical_edges : k.normal_vertical_edges;
    const EdgeFilterFn top_edge = simple ? k.simple_mb_edge_top : k.normal_mb_edge_top;
    const EdgeFilterFn inner_horizontal =
        simple ? k.simple_inner_horizontal : k.normal_inner_horizontal;
    const MbAnalysisRecord* records =
        instance.mode_info + (row + 1) * instance.mode_info_stride + 1;
    uint8_t* y = frame.y + static_cast<size_t>(16 * row) * frame.y_stride;
    uint8_t* u = frame.u + static_cast<size_t>(8 * row) * frame.uv_stride;
    uint8_t* v = frame.v + static_cast<size_t>(8 * row) * frame.uv_stride;
    for (int col = 0; col < instance.mb_cols; ++col, y += 16, u += 8, v += 8) {
        // When a whole frame is filtered after it is decoded, its records
        // have left the cache: each is asked for a few macroblocks ahead.
        if (col + kRecordsAhead < instance.mb_cols)
            __builtin_prefetch(&records[col + kRecordsAhead]);
        const MbAnalysisRecord& record = records[col];
        const int baseline =
            instance.filter_baselines[instance.segmentation.enabled ? record.segment_id & 3 : 0];
        const int level = mb_filter_level(instance, record, baseline);
        if (level == 0) continue;
        const FilterLevelEntry& entry = instance.filter_levels[level];
        if (col > 0 && record.has_residual)
            vertical_edges(y, u, v, frame.y_stride, frame.uv_stride, entry);
        else if (col > 0)
            left_edge(y, u, v, frame.y_stride, frame.uv_stride, entry);
        else if (record.has_residual)
            inner_vertical(y, u, v, frame.y_stride, frame.uv_stride, entry);
        if (row > 0) top_edge(y, u, v, frame.y_stride, frame.uv_stride, entry);
        if (record.has_residual) inner_horizontal(y, u, v, frame.y_stride, frame.uv_stride, entry);
    }
}

void finish_loop_filter(DecoderInstance& instance) {
    instance.last_frame_type = instance.frame_type;
    instance.last_filter_type = instance.loop_filter.filter_type;
    instance.last_sharpness_level = instance.loop_filter.sharpness_level;
}

void filter_frame_edges(DecoderInstance& instance, FrameBuffer& frame) {
    prepare_loop_filter(instance);
    for (int row = 0; row < instance.mb_rows; ++row) filter_mb_row(instance, frame, row);
    finish_loop_filter(instance);
}

}  // namespace vp8
