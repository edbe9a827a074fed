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
[[gnu::always_inline]] inline void read_subblock_modes(WindowReader& reader,
                                                       MbAnalysisRecord& record,
                                                       const MbAnalysisRecord& above,
                                                       const MbAnalysisRecord& left) {
    // The contexts stay in registers: each mode read is the left context of
    // the next and the above context of the one four blocks on.
    int above_modes[4];
    for (int c = 0; c < 4; ++c) above_modes[c] = above.subblocks[12 + c].mode;
    for (int r = 0; r < 4; ++r) {
        int left_mode = left.subblocks[4 * r + 3].mode;
        for (int c = 0; c < 4; ++c) {
            const int mode = read_fixed_tree<kSubblockModeTree, Shift>(
                reader, kKeyFrameSubblockModeProbs[above_modes[c]][left_mode]);
            record.subblocks[4 * r + c].mode = mode;
            above_modes[c] = left_mode = mode;
        }
    }
}

template <class Shift>
[[gnu::noinline]] void read_modes(DecoderInstance& instance, const ModeRowsNotice* notice) {
    // The reader's window, kept in registers through the macroblock loop and
    // handed back at its end.
    WindowReader reader(instance.first_reader);
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
            record.mode = read_fixed_tree<kKeyFrameYModeTree, Shift>(reader, kKeyFrameYModeProbs);
            record.ref_frame = INTRA_FRAME;
            if (record.mode == B_PRED) {
                read_subblock_modes<Shift>(reader, record, *(&record - stride), *(&record - 1));
            } else {
                const int implied = implied_subblock_mode(record.mode);
                for (ModeAndVector& entry : record.subblocks) entry.mode = implied;
            }
            record.uv_mode = read_fixed_tree<kUvModeTree, Shift>(reader, kKeyFrameUvModeProbs);
            record.bits = bits_between(start, bit_mark(reader));
        }
        if (notice) notice->rows_read(notice->context, row + 1);
    }
    reader.finish();
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
