#include "cli/modes_json.h"

#include <initializer_list>

#include "vp8dec/mb_modes.h"
#include "vp8dec/tables.h"

namespace tavimor {

namespace {

constexpr uint32_t kFnvPrime = 16777619u;

const char* const kModeNames[10] = {"DC",      "V",    "H",    "TM",  "B",
                                    "NEAREST", "NEAR", "ZERO", "NEW", "SPLIT"};

class Json {
  public:
    void key(const char* name) {
        separate();
        text_ += '"';
        text_ += name;
        text_ += "\":";
        fresh_ = true;
    }
    void value(long long v) {
        separate();
        text_ += std::to_string(v);
    }
    void string(const char* s) {
        separate();
        text_ += '"';
        text_ += s;
        text_ += '"';
    }
    void null() {
        separate();
        text_ += "null";
    }
    // A field as coded: null when absent, -0 for a negative zero.
    void coded(const vp8::CodedField& field) {
        if (!field.present) return null();
        separate();
        if (field.negative && field.magnitude == 0)
            text_ += "-0";
        else
            text_ += std::to_string(field.value());
    }
    void open(char bracket) {
        separate();
        text_ += bracket;
        fresh_ = true;
    }
    void close(char bracket) {
        text_ += bracket;
        fresh_ = false;
    }
    template <typename T>
    void field(const char* name, T v) {
        key(name);
        value(static_cast<long long>(v));
    }
    void coded_list(const char* name, const vp8::CodedField* fields, int count) {
        key(name);
        open('[');
        for (int i = 0; i < count; ++i) coded(fields[i]);
        close(']');
    }
    template <typename T>
    void list(const char* name, const T* values, int count) {
        key(name);
        open('[');
        for (int i = 0; i < count; ++i) value(static_cast<long long>(values[i]));
        close(']');
    }
    std::string take() { return std::move(text_); }

  private:
    void separate() {
        if (!fresh_ && !text_.empty()) text_ += ',';
        fresh_ = false;
    }

    std::string text_;
    bool fresh_ = true;
};

void write_header(Json& j, int64_t frame_index, const vp8::FrameSyntax& s) {
    j.field("frame", frame_index);
    j.field("key", s.key_frame);
    j.field("version", s.version);
    j.field("show", s.show_frame);
    j.field("first_part_size", s.first_part_size);
    if (s.key_frame) {
        j.field("width", s.width);
        j.field("height", s.height);
        j.field("hscale", s.hscale);
        j.field("vscale", s.vscale);
        j.field("color_space", s.color_space);
        j.field("clamping_type", s.clamping_type);
    }
    j.field("segmentation_enabled", s.segmentation_enabled);
    if (s.segmentation_enabled) {
        j.field("update_mb_segmentation_map", s.update_mb_segmentation_map);
        j.field("update_segment_feature_data", s.update_segment_feature_data);
        if (s.update_segment_feature_data) {
            j.field("segment_feature_mode", s.segment_feature_mode);
            j.coded_list("segment_quant", s.segment_quant, 4);
            j.coded_list("segment_lf", s.segment_lf, 4);
        }
        if (s.update_mb_segmentation_map) j.coded_list("segment_probs", s.segment_probs, 3);
    }
    j.field("filter_type", s.filter_type);
    j.field("loop_filter_level", s.loop_filter_level);
    j.field("sharpness_level", s.sharpness_level);
    j.field("loop_filter_adj_enable", s.loop_filter_adj_enable);
    if (s.loop_filter_adj_enable) {
        j.field("mode_ref_lf_delta_update", s.mode_ref_lf_delta_update);
        if (s.mode_ref_lf_delta_update) {
            j.coded_list("ref_lf_deltas", s.ref_lf_deltas, 4);
            j.coded_list("mode_lf_deltas", s.mode_lf_deltas, 4);
        }
    }
    j.field("partitions", s.partitions);
    j.list("partition_sizes", s.partition_sizes, s.partitions);
    j.field("y_ac_qi", s.y_ac_qi);
    const char* const delta_names[5] = {"y_dc_delta", "y2_dc_delta", "y2_ac_delta", "uv_dc_delta",
                                        "uv_ac_delta"};
    for (int i = 0; i < 5; ++i) {
        j.key(delta_names[i]);
        j.coded(s.q_deltas[i]);
    }
    if (!s.key_frame) {
        j.field("refresh_golden_frame", s.refresh_golden_frame);
        j.field("refresh_alternate_frame", s.refresh_alternate_frame);
        j.key("copy_buffer_to_golden");
        j.coded(s.copy_buffer_to_golden);
        j.key("copy_buffer_to_alternate");
        j.coded(s.copy_buffer_to_alternate);
        j.field("sign_bias_golden", s.sign_bias_golden);
        j.field("sign_bias_alternate", s.sign_bias_alternate);
    }
    j.field("refresh_entropy_probs", s.refresh_entropy_probs);
    if (!s.key_frame) j.field("refresh_last", s.refresh_last);
    j.key("coef_prob_updates");
    j.open('[');
    for (const vp8::CoefProbUpdate& u : s.coef_prob_updates) {
        const uint8_t values[5] = {u.type, u.band, u.context, u.node, u.prob};
        j.open('[');
        for (uint8_t v : values) j.value(v);
        j.close(']');
    }
    j.close(']');
    j.field("mb_no_skip_coeff", s.mb_no_skip_coeff);
    j.key("prob_skip_false");
    j.coded(s.prob_skip_false);
    if (!s.key_frame) {
        j.field("prob_intra", s.prob_intra);
        j.field("prob_last", s.prob_last);
        j.field("prob_gf", s.prob_gf);
        if (s.has_intra_16x16_prob) {
            j.list("intra_16x16_prob", s.intra_16x16_prob, 4);
        } else {
            j.key("intra_16x16_prob");
            j.null();
        }
        if (s.has_intra_chroma_prob) {
            j.list("intra_chroma_prob", s.intra_chroma_prob, 3);
        } else {
            j.key("intra_chroma_prob");
            j.null();
        }
        j.key("mv_prob_updates");
        j.open('[');
        for (const vp8::MvProbUpdate& u : s.mv_prob_updates) {
            j.open('[');
            for (uint8_t v : {u.component, u.index, u.prob}) j.value(v);
            j.close(']');
        }
        j.close(']');
    }
}

void write_vector(Json& j, const vp8::MotionVector& mv) {
    // Records hold eighth samples; the report gives quarter samples.
    j.open('[');
    j.value(mv.row / 2);
    j.value(mv.col / 2);
    j.close(']');
}

void write_macroblock(Json& j, const vp8::MbAnalysisRecord& r, bool key_frame, bool segmentation,
                      const int* counts) {
    j.open('{');
    if (segmentation) j.field("s", r.segment_id);
    j.field("k", r.skip);
    const int ref = key_frame ? 0 : r.ref_frame;
    j.field("r", ref);
    j.key("y");
    j.string(kModeNames[r.mode]);
    if (ref == vp8::INTRA_FRAME) {
        j.key("uv");
        j.string(kModeNames[r.uv_mode]);
        if (r.mode == vp8::B_PRED) {
            j.key("b");
            j.open('[');
            for (const vp8::ModeAndVector& entry : r.subblocks) j.value(entry.mode);
            j.close(']');
        }
    } else {
        j.key("mv");
        write_vector(j, r.mv);
        if (r.mode == vp8::SPLITMV) {
            j.field("p", r.partitioning);
            j.key("sm");
            j.open('[');
            for (int i = 0; i < vp8::kSplitCounts[r.partitioning]; ++i)
                j.value(r.partitions[i].mode);
            j.close(']');
            j.key("smv");
            j.open('[');
            for (const vp8::ModeAndVector& entry : r.subblocks) write_vector(j, entry.mv);
            j.close(']');
        }
    }
    j.list("nz", counts, 25);
    j.close('}');
}

}  // namespace

void MacroblockCoefficients::observe(void* user, const vp8::DecoderInstance& instance,
                                     const vp8::MacroblockContext& mb, const int16_t* levels) {
    auto& self = *static_cast<MacroblockCoefficients*>(user);
    const int mb_index = mb.mb_row * instance.mb_cols + mb.mb_col;
    if (mb_index == 0) {
        self.counts_.assign(static_cast<size_t>(instance.mb_count) * 25, 0);
        self.hash_ = 2166136261u;
    }
    const vp8::MbAnalysisRecord& record = *mb.record;
    int* counts = self.counts_.data() + 25 * mb_index;
    const bool has_y2 = vp8::has_y2_block(record.mode);
    counts[0] = has_y2 ? 0 : -1;
    if (!levels) return;
    // Bitstream order: Y2 when present, then Y 0..15, U, V.
    auto add_block = [&](int block, int& count) {
        for (int pos = 0; pos < 16; ++pos) {
            const int16_t level = levels[block * 16 + vp8::kZigzag[pos]];
            count += level != 0;
            const auto bits = static_cast<uint16_t>(level);
            for (uint8_t byte :
                 {static_cast<uint8_t>(bits & 0xff), static_cast<uint8_t>(bits >> 8)})
                self.hash_ = (self.hash_ ^ byte) * kFnvPrime;
        }
    };
    if (has_y2) add_block(24, counts[0]);
    for (int b = 0; b < 24; ++b) add_block(b, counts[1 + b]);
}

std::string modes_json_line(int64_t frame_index, const vp8::DecoderInstance& instance,
                            const MacroblockCoefficients& coefficients) {
    Json j;
    j.open('{');
    const vp8::FrameSyntax& s = instance.syntax;
    write_header(j, frame_index, s);
    j.field("coef_hash", coefficients.hash());
    j.key("mbs");
    j.open('[');
    auto& mutable_instance = const_cast<vp8::DecoderInstance&>(instance);
    for (int row = 0; row < instance.mb_rows; ++row)
        for (int col = 0; col < instance.mb_cols; ++col)
            write_macroblock(j, *vp8::mb_record(mutable_instance, row, col), s.key_frame,
                             s.segmentation_enabled,
                             coefficients.counts(row * instance.mb_cols + col));
    j.close(']');
    j.close('}');
    return j.take();
}

}  // namespace tavimor
