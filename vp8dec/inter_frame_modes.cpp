// Modes and motion vectors of an inter frame.
#include "vp8dec/inter_frame_modes.h"

#include "vp8dec/decoder_instance.h"
#include "vp8dec/mode_syntax.h"
#include "vp8dec/near_vectors.h"
#include "vp8dec/tables.h"

namespace vp8 {

namespace {

// One vector component in quarter samples.
template <class Shift>
[[gnu::always_inline]] inline int read_vector_component(WindowReader& reader,
                                                        const uint8_t* probs) {
    int value = 0;
    if (read_bool<Shift>(reader, probs[kMvpIsShort])) {
        for (int i = 0; i < 3; ++i) value += read_bool<Shift>(reader, probs[kMvpLong + i]) << i;
        for (int i = kMvLongBits - 1; i > 3; --i)
            value += read_bool<Shift>(reader, probs[kMvpLong + i]) << i;
        if (!(value & 0xfff0) || read_bool<Shift>(reader, probs[kMvpLong + 3])) value += 8;
    } else {
        value = read_fixed_tree<kSmallMvTree, Shift>(reader, probs + kMvpShort);
    }
    return value && read_bool<Shift>(reader, probs[kMvpSign]) ? -value : value;
}

template <class Shift>
[[gnu::always_inline]] inline MotionVector read_vector_offset(WindowReader& reader,
                                                              const ProbabilityContext& probs,
                                                              const MotionVector& best) {
    const int row = 2 * read_vector_component<Shift>(reader, probs.mv[0]) + best.row;
    const int col = 2 * read_vector_component<Shift>(reader, probs.mv[1]) + best.col;
    return {static_cast<int16_t>(row), static_cast<int16_t>(col)};
}

void read_frame_probabilities(DecoderInstance& instance) {
    BoolReader& reader = instance.first_reader;
    FrameSyntax& syntax = instance.syntax;
    read_skip_probability(instance);
    instance.prob_intra = static_cast<int>(read_literal(reader, 8));
    instance.prob_last = static_cast<int>(read_literal(reader, 8));
    instance.prob_gf = static_cast<int>(read_literal(reader, 8));
    syntax.prob_intra = instance.prob_intra;
    syntax.prob_last = instance.prob_last;
    syntax.prob_gf = instance.prob_gf;
    if (read_literal(reader, 1)) {
        syntax.has_intra_16x16_prob = true;
        for (int i = 0; i < 4; ++i) {
            instance.probs.ymode[i] = static_cast<uint8_t>(read_literal(reader, 8));
            syntax.intra_16x16_prob[i] = instance.probs.ymode[i];
        }
    }
    if (read_literal(reader, 1)) {
        syntax.has_intra_chroma_prob = true;
        for (int i = 0; i < 3; ++i) {
            instance.probs.uv_mode[i] = static_cast<uint8_t>(read_literal(reader, 8));
            syntax.intra_chroma_prob[i] = instance.probs.uv_mode[i];
        }
    }
    for (int component = 0; component < 2; ++component) {
        for (int i = 0; i < kMvProbCount; ++i) {
            if (!read_bool(reader, kMvUpdateProbs[component][i])) continue;
            const int x = static_cast<int>(read_literal(reader, 7));
            const int prob = x ? x << 1 : 1;
            instance.probs.mv[component][i] = static_cast<uint8_t>(prob);
            syntax.mv_prob_updates.push_back({static_cast<uint8_t>(component),
                                              static_cast<uint8_t>(i), static_cast<uint8_t>(prob)});
        }
    }
}

template <class Shift>
int read_reference_frame(WindowReader& reader, const DecoderInstance& instance) {
    if (!read_bool<Shift>(reader, instance.prob_intra)) return INTRA_FRAME;
    if (!read_bool<Shift>(reader, instance.prob_last)) return LAST_FRAME;
    return GOLDEN_FRAME + read_bool<Shift>(reader, instance.prob_gf);
}

int sub_vector_context(const MotionVector& left, const MotionVector& above) {
    if (left == above) return left.is_zero() ? 4 : 3;
    if (above.is_zero()) return 2;
    if (left.is_zero()) return 1;
    return 0;
}

template <class Shift>
[[gnu::always_inline]] inline void read_split_vectors(WindowReader& reader,
                                                      const DecoderInstance& instance,
                                                      MbAnalysisRecord& record,
                                                      const MotionVector& best,
                                                      const EdgeDistances& edges) {
    const MbAnalysisRecord& above_mb = *(&record - instance.mode_info_stride);
    const MbAnalysisRecord& left_mb = *(&record - 1);
    const int layout = read_fixed_tree<kSplitTree, Shift>(reader, kSplitProbs);
    record.partitioning = layout;
    const uint8_t* map = kSplitMaps[layout];
    for (int j = 0; j < kSplitCounts[layout]; ++j) {
        int k = 0;
        while (map[k] != j) ++k;
        const MotionVector left =
            (k & 3) ? record.subblocks[k - 1].mv : left_mb.subblocks[k + 3].mv;
        const MotionVector above =
            k >= 4 ? record.subblocks[k - 4].mv : above_mb.subblocks[k + 12].mv;
        const int mode = read_fixed_tree<kSubMvRefTree, Shift>(
            reader, kSubMvRefProbs[sub_vector_context(left, above)]);
        MotionVector mv{};
        switch (mode) {
            case LEFT4X4:
                mv = left;
                break;
            case ABOVE4X4:
                mv = above;
                break;
            case NEW4X4:
                mv = read_vector_offset<Shift>(reader, instance.probs, best);
                break;
            default:
                break;
        }
        if (outside_window(mv, edges)) record.need_to_clamp = 1;
        record.partitions[j] = {mode, mv};
        for (int b = k; b < 16; ++b)
            if (map[b] == j) record.subblocks[b] = {mode, mv};
    }
    record.mv = record.subblocks[15].mv;
}

template <class Shift>
[[gnu::always_inline]] inline void read_inter_mb(WindowReader& reader,
                                                 const DecoderInstance& instance,
                                                 MbAnalysisRecord& record,
                                                 const EdgeDistances& edges) {
    const NearVectors near = search_near_vectors(&record, instance.mode_info_stride,
                                                 record.ref_frame, instance.sign_bias, edges);
    uint8_t probs[4];
    for (int i = 0; i < 4; ++i) probs[i] = kModeContextProbs[near.counts[i]][i];
    record.mode = read_fixed_tree<kMvRefTree, Shift>(reader, probs);
    switch (record.mode) {
        case NEARESTMV:
            record.mv = near.nearest;
            break;
        case NEARMV:
            record.mv = near.near;
            break;
        case ZEROMV:
            record.mv = {};
            break;
        case NEWMV:
            record.mv = read_vector_offset<Shift>(reader, instance.probs, near.best);
            if (outside_window(record.mv, edges)) record.need_to_clamp = 1;
            break;
        default:
            read_split_vectors<Shift>(reader, instance, record, near.best, edges);
            return;
    }
    for (ModeAndVector& entry : record.subblocks) entry.mv = record.mv;
}

template <class Shift>
[[gnu::always_inline]] inline void read_intra_mb(WindowReader& reader,
                                                 const DecoderInstance& instance,
                                                 MbAnalysisRecord& record) {
    record.mv = {};
    for (ModeAndVector& entry : record.subblocks) entry.mv = {};
    record.mode = read_fixed_tree<kYModeTree, Shift>(reader, instance.probs.ymode);
    if (record.mode == B_PRED)
        for (ModeAndVector& entry : record.subblocks)
            entry.mode =
                read_fixed_tree<kSubblockModeTree, Shift>(reader, instance.probs.subblock_mode);
    record.uv_mode = read_fixed_tree<kUvModeTree, Shift>(reader, instance.probs.uv_mode);
}

template <class Shift>
[[gnu::noinline]] void read_modes(DecoderInstance& instance, const ModeRowsNotice* notice) {
    // The reader's window, kept in registers through the macroblock loop and
    // handed back at its end.
    WindowReader reader(instance.first_reader);
    const SegmentationState& seg = instance.segmentation;
    const bool read_segments = seg.enabled && seg.update_map;
    for (int row = 0; row < instance.mb_rows; ++row) {
        for (int col = 0; col < instance.mb_cols; ++col) {
            MbAnalysisRecord& record = *mb_record(instance, row, col);
            const BitMark start = bit_mark(reader);
            record.need_to_clamp = 0;
            const EdgeDistances edges =
                edge_distances(row, col, instance.mb_rows, instance.mb_cols);
            if (read_segments)
                record.segment_id =
                    static_cast<uint8_t>(read_segment_id<Shift>(reader, seg.tree_probs));
            record.skip = read_skip_flag<Shift>(reader, instance);
            record.uv_mode = 0;
            record.ref_frame = read_reference_frame<Shift>(reader, instance);
            if (record.ref_frame != INTRA_FRAME)
                read_inter_mb<Shift>(reader, instance, record, edges);
            else
                read_intra_mb<Shift>(reader, instance, record);
            record.bits = bits_between(start, bit_mark(reader));
        }
        if (notice) notice->rows_read(notice->context, row + 1);
    }
    reader.finish();
}

}  // namespace

void read_inter_frame_modes(DecoderInstance& instance, const ModeRowsNotice* notice) {
    read_frame_probabilities(instance);
    if (instance.count_leading_zeros)
        read_modes<LeadingZeroShift>(instance, notice);
    else
        read_modes<TableShift>(instance, notice);
}

}  // namespace vp8
