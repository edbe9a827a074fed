// The frame header as it was coded, kept beside the decoder state so that
// tools can report what the stream said (including values that carry no
// meaning for decoding, such as a sign bit on a zero magnitude).
#pragma once

#include <cstdint>
#include <vector>

namespace vp8 {

// A flag-prefixed field: present, its magnitude and its sign bit.
struct CodedField {
    bool present;
    int magnitude;
    bool negative;

    int value() const { return negative ? -magnitude : magnitude; }
};

struct CoefProbUpdate {
    uint8_t type, band, context, node, prob;
};

struct MvProbUpdate {
    uint8_t component, index, prob;
};

struct FrameSyntax {
    int key_frame;
    int version;
    int show_frame;
    int first_part_size;
    // key frames only
    int width, height, hscale, vscale, color_space, clamping_type;

    int segmentation_enabled;
    int update_mb_segmentation_map;
    int update_segment_feature_data;
    int segment_feature_mode;
    CodedField segment_quant[4];
    CodedField segment_lf[4];
    CodedField segment_probs[4];

    int filter_type;
    int loop_filter_level;
    int sharpness_level;
    int loop_filter_adj_enable;
    int mode_ref_lf_delta_update;
    CodedField ref_lf_deltas[4];
    CodedField mode_lf_deltas[4];

    int partitions;
    uint32_t partition_sizes[8];

    int y_ac_qi;
    CodedField q_deltas[5];  // y dc, y2 dc, y2 ac, uv dc, uv ac

    // inter frames only
    int refresh_golden_frame;
    int refresh_alternate_frame;
    CodedField copy_buffer_to_golden;     // present when refresh_golden_frame is 0
    CodedField copy_buffer_to_alternate;  // present when refresh_alternate_frame is 0
    int sign_bias_golden;
    int sign_bias_alternate;
    int refresh_last;

    int refresh_entropy_probs;
    std::vector<CoefProbUpdate> coef_prob_updates;
    int mb_no_skip_coeff;
    CodedField prob_skip_false;  // present when mb_no_skip_coeff is 1
    int prob_intra, prob_last, prob_gf;
    bool has_intra_16x16_prob;
    uint8_t intra_16x16_prob[4];
    bool has_intra_chroma_prob;
    uint8_t intra_chroma_prob[3];
    std::vector<MvProbUpdate> mv_prob_updates;
};

// Clears everything but keeps the update lists' storage.
void reset_frame_syntax(FrameSyntax& syntax);

}  // namespace vp8
