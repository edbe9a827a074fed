// Modes of a key frame: segment id, skip flag, luma mode with its sub-block
// modes (contexts from the neighbours), chroma mode.
#include "vp8dec/key_frame_modes.h"

#include "vp8dec/decoder_instance.h"
#include "vp8dec/mode_syntax.h"
#include "vp8dec/tables.h"

namespace vp8 {

namespace {

// The sub-block mode implied by a whole-macroblock intra mode.
int implied_subblock_mode(int mode) {
    switch (mode) {
        case V_PRED:
            return B_VE_PRED;
        case H_PRED:
            return B_HE_PRED;
        case TM_PRED:
            return B_TM_PRED;
        default:
            return B_DC_PRED;
    }
}

template <class Shift>
[[gnu::always_inline]] inline void read_subblock_modes(BoolReader& reader, MbAnalysisRecord& record,
                                                       const MbAnalysisRecord& above,
                                                       const MbAnalysisRecord& left) {
    for (int b = 0; b < 16; ++b) {
        const int above_mode = b >= 4 ? record.subblocks[b - 4].mode : above.subblocks[b + 12].mode;
        const int left_mode = (b & 3) ? record.subblocks[b - 1].mode : left.subblocks[b + 3].mode;
        record.subblocks[b].mode = read_tree<Shift>(
            reader, kSubblockModeTree, kKeyFrameSubblockModeProbs[above_mode][left_mode]);
    }
}

template <class Shift>
[[gnu::noinline]] void read_modes(DecoderInstance& instance, const ModeRowsNotice* notice) {
    // A local copy of the reader, kept in registers through the macroblock
    // loop and written back at its end.
    BoolReader reader = instance.first_reader;
    const SegmentationState& seg = instance.segmentation;
    const bool read_segments = seg.enabled && seg.update_map;
    const int stride = instance.mode_info_stride;
    for (int row = 0; row < instance.mb_rows; ++row) {
        for (int col = 0; col < instance.mb_cols; ++col) {
            MbAnalysisRecord& record = *mb_record(instance, row, col);
            const BitMark start = bit_mark(reader);
            record.segment_id = static_cast<uint8_t>(
                read_segments ? read_segment_id<Shift>(reader, seg.tree_probs) : 0);
            record.skip = read_skip_flag<Shift>(reader, instance);
            record.mode = read_tree<Shift>(reader, kKeyFrameYModeTree, kKeyFrameYModeProbs);
            record.ref_frame = INTRA_FRAME;
            if (record.mode == B_PRED) {
                read_subblock_modes<Shift>(reader, record, *(&record - stride), *(&record - 1));
            } else {
                const int implied = implied_subblock_mode(record.mode);
                for (ModeAndVector& entry : record.subblocks) entry.mode = implied;
            }
            record.uv_mode = read_tree<Shift>(reader, kUvModeTree, kKeyFrameUvModeProbs);
            record.bits = bits_between(start, bit_mark(reader));
        }
        if (notice) notice->rows_read(notice->context, row + 1);
    }
    instance.first_reader = reader;
}

}  // namespace

void read_key_frame_modes(DecoderInstance& instance, const ModeRowsNotice* notice) {
    read_skip_probability(instance);
    if (instance.count_leading_zeros)
        read_modes<LeadingZeroShift>(instance, notice);
    else
        read_modes<TableShift>(instance, notice);
}

}  // namespace vp8
