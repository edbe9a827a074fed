// The decoder instance: frame geometry and buffers, header state,
// probabilities, readers, macroblock context, error record and timing.
#pragma once

#include <cstdint>
#include <vector>

#include "vp8dec/bool_reader.h"
#include "vp8dec/coefficient_dump.h"
#include "vp8dec/frame_analysis_record.h"
#include "vp8dec/frame_buffer.h"
#include "vp8dec/frame_syntax.h"
#include "vp8dec/frame_view.h"
#include "vp8dec/held_pictures.h"
#include "vp8dec/kernels/kernel_table.h"
#include "vp8dec/macroblock_levels.h"
#include "vp8dec/mb_analysis_record.h"
#include "vp8dec/mb_modes.h"
#include "vp8dec/probability_context.h"

namespace vp8 {

struct AnalysisContext;
class RowThreads;

inline constexpr int kMaxTokenPartitions = 8;
// The three references, the frame being decoded, and the held pictures.
inline constexpr int kFrameBufferCount = 4 + kMaxHeldPictures;

// Non-zero contexts of the token decoder for one macroblock column (above)
// or for the current row (left).
struct TokenContext {
    uint8_t y[4];
    uint8_t u[2];
    uint8_t v[2];
    uint8_t y2;
};

struct SegmentationState {
    int enabled;
    int update_map;
    int update_data;
    int abs_delta;              // mb_segement_abs_delta: 1 absolute values, 0 deltas
    int8_t feature_data[2][4];  // [quantiser, loop filter][segment]
    uint8_t tree_probs[3];
};

struct LoopFilterHeader {
    int filter_type;  // 0 normal, 1 simple
    int filter_level;
    int sharpness_level;
    int delta_enabled;  // mode_ref_lf_delta_enabled
    int delta_update;
    int8_t ref_deltas[4];
    int8_t mode_deltas[4];
};

struct QuantHeader {
    int base_index;  // Q
    int y1dc_delta;
    int y2dc_delta;
    int y2ac_delta;
    int uvdc_delta;
    int uvac_delta;
};

// Factor rows per quantiser index; position 0 the DC factor, 1..15 the AC factor.
struct FactorTables {
    alignas(16) int16_t y1[kQuantIndices][16];
    alignas(16) int16_t y2[kQuantIndices][16];
    alignas(16) int16_t uv[kQuantIndices][16];
};

struct ErrorRecord {
    int code;
    int has_detail;
    char detail[80];
    int armed;
};

// Everything the reconstruction of one macroblock works with.
struct MacroblockContext {
    int mb_row, mb_col;
    int edge_dist_left, edge_dist_right, edge_dist_top, edge_dist_bottom;
    int has_above, has_left;
    uint8_t* dst_y;
    uint8_t* dst_u;
    uint8_t* dst_v;
    int dst_y_stride, dst_uv_stride;
    const uint8_t* ref_y;
    const uint8_t* ref_u;
    const uint8_t* ref_v;
    int ref_y_stride, ref_uv_stride;
    MbAnalysisRecord* record;
    // 16 luma, 4 U, 4 V (chroma in chroma eighth samples); a vector for the
    // whole macroblock only in entries 0 (luma) and 16 (chroma).
    MotionVector block_mvs[24];
    BoolReader* token_reader;
    TokenContext* above;  // this column's above contexts
    TokenContext left;
    MacroblockLevels levels;  // the levels of the macroblock being built
    alignas(16) int16_t dequant_y2[16];
    // The prediction of a macroblock with residual, kept (Y 16x16, U 8x8 at 256,
    // V 8x8 at 320) when keep_prediction is set for the capture of predicted pictures.
    alignas(16) uint8_t prediction[384];
    bool keep_prediction = false;
    const int16_t* y1_factors;
    const int16_t* y2_factors;
    const int16_t* uv_factors;
};

// Called for every macroblock after its tokens are decoded, with the quantised
// levels of its 25 blocks (raster order within each block), or null when the
// macroblock's skip flag spared it any tokens.
struct DecoderInstance;
using TokenObserver = void (*)(void* user, const DecoderInstance& instance,
                               const MacroblockContext& mb, const int16_t* levels);

struct DecoderInstance {
    // Geometry
    int width, height, hscale, vscale;
    int mb_rows, mb_cols, mb_count, mode_info_stride;

    // The three references and the frame being decoded point into four
    // buffers, and one more for each held picture; a reference update points
    // at a buffer instead of copying it.
    FrameBuffer buffers[kFrameBufferCount];
    int buffer_count;
    HeldPictures held;
    FrameBuffer* last;
    FrameBuffer* golden;
    FrameBuffer* altref;
    FrameBuffer* new_frame;
    FrameBuffer* frame_to_show;  // the picture the last frame decoded

    // (mb_cols + 1) x (mb_rows + 1) records; the first row and each row's last
    // record lie outside the picture.
    MbAnalysisRecord* mode_info;
    TokenContext* above_contexts;  // mb_cols entries

    // Frame tag and version settings
    int frame_type;  // 0 key frame, 1 inter frame
    int version;
    int show_frame;
    int no_loop_filter, simple_loop_filter, bilinear_motion, full_pixel;

    // Header state
    int clr_type, clamp_type;
    SegmentationState segmentation;
    LoopFilterHeader loop_filter;
    int token_partitions;
    QuantHeader quant;
    int refresh_golden_frame, refresh_alt_ref_frame;
    int copy_buffer_to_gf, copy_buffer_to_arf;
    int sign_bias[4];  // by reference frame
    int refresh_entropy_probs;
    int refresh_last_frame;
    int mb_no_coeff_skip;
    int prob_skip_false, prob_intra, prob_last, prob_gf;
    ProbabilityContext probs;
    ProbabilityContext saved_probs;

    FactorTables factors;
    const int16_t* frame_y1_factors;
    const int16_t* frame_y2_factors;
    const int16_t* frame_uv_factors;

    // Loop filter
    FilterLevelEntry filter_levels[64];
    int filter_baselines[4];  // the frame's level of each segment before deltas
    int filter_in_rows;       // 1 when the row loop filters each row one row behind
    int last_frame_type, last_filter_type, last_sharpness_level;

    int shown_count;

    // The compressed frame being decoded
    const uint8_t* data;
    uint32_t size;

    // Readers
    BoolReader first_reader;
    BoolReader token_readers[kMaxTokenPartitions];

    MacroblockContext mb;
    int decoding_threads;
    RowThreads* row_threads;  // null without a thread count of 2 or more

    ErrorRecord error;

    // Timing in microseconds
    int64_t last_decode_time;
    int64_t total_decode_time;
    int64_t total_filter_time;

    int ready;  // 1 when nothing waits to be fetched
    int64_t time_stamp;

    FrameAnalysisRecord* record;
    AnalysisContext* analysis;  // where the trace, records and captures go; may be null
    FrameView shown_view;       // the shown frame as the record's final picture

    KernelTable kernels;
    ScalingTable scaling;
    // Whether the mode and token readers renormalise by counting leading
    // zeros (LeadingZeroShift) rather than by the table.
    bool count_leading_zeros;

    FrameSyntax syntax;
    TokenObserver token_observer;
    void* token_observer_user;

    // The "Predicted" capture of the macroblock row being decoded, moved to
    // its slot when the row is done.
    std::vector<uint8_t> prediction_row;
    // The frame's coefficient records not yet in the coefficient file.
    CoefficientDump coef_dump;
};

// The record of macroblock (row, col).
inline MbAnalysisRecord* mb_record(DecoderInstance& instance, int row, int col) {
    return instance.mode_info + (row + 1) * instance.mode_info_stride + col + 1;
}

// Creates an instance with default header state, probabilities, factor tables,
// loop-filter levels and kernels. Frame buffers come with the first key frame.
// Returns null when memory runs out.
// The buffers of the last held_pictures shown pictures stay as they were
// while the decoder goes on (see HeldPictures).
DecoderInstance* create_instance(int width, int height, int thread_count, int held_pictures = 0);
void destroy_instance(DecoderInstance* instance);

// Reallocates every frame buffer, the record array and the above contexts for
// a new picture size. Returns false (with everything freed) on failure.
bool resize_buffers(DecoderInstance& instance, int width, int height);

// Points new_frame at a buffer that no reference holds and no picture is held in.
void choose_new_buffer(DecoderInstance& instance);

// Decodes one compressed frame. Returns 0, or -1 with the instance's error record set.
int receive_frame(DecoderInstance& instance, const uint8_t* data, uint32_t size,
                  int64_t time_stamp);

// Hands out the decoded frame when one waits and is shown.
bool get_shown_frame(DecoderInstance& instance, FrameBuffer& descriptor);

}  // namespace vp8
