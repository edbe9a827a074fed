// The header trace of every frame carries the values that were coded: read
// back from the trace text, they equal the header fields of the truth files.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>

#include "tests/support/json_value.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "vp8dec/error_codes.h"

namespace tavimor::test {
namespace {

// The header fields a trace gives, named as in the truth files. A field
// whose presence flag was 0 holds "null"; lists are written "[a,b]".
struct TraceFields {
    std::map<std::string, std::string> fields;
    int coefficient_flags = 0;
};

std::string join(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out + "]";
}

TraceFields parse_trace(const std::string& trace) {
    static const std::map<std::string, std::string> kRenames = {
        {"first_partition_length_in_bytes", "first_part_size"},
        {"horiz_scale", "hscale"},
        {"vert_scale", "vscale"},
        {"clr_type", "color_space"},
        {"clamp_type", "clamping_type"},
        {"update_mb_segmentation_data", "update_segment_feature_data"},
        {"mb_segement_abs_delta", "segment_feature_mode"},
        {"filter_level", "loop_filter_level"},
        {"mode_ref_lf_delta_enabled", "loop_filter_adj_enable"},
        {"Q", "y_ac_qi"},
        {"refresh_alt_ref_frame", "refresh_alternate_frame"},
        {"copy_buffer_to_gf", "copy_buffer_to_golden"},
        {"copy_buffer_to_arf", "copy_buffer_to_alternate"},
        {"ref_frame_sign_bias[GOLDEN_FRAME]", "sign_bias_golden"},
        {"ref_frame_sign_bias[ALTREF_FRAME]", "sign_bias_alternate"},
        {"refresh_last_frame", "refresh_last"},
        {"mb_no_coeff_skip", "mb_no_skip_coeff"},
    };
    static const std::map<std::string, std::string> kDeltaLabels = {
        {"y1dc_delta_q", "y_dc_delta"},
        {"y2dc_delta_q", "y2_dc_delta"},
        {"y2ac_delta_q", "y2_ac_delta"},
        {"uvdc_delta_q", "uv_dc_delta"},
        {"uvac_delta_q", "uv_ac_delta"}};
    TraceFields out;
    std::vector<std::string> segment_values, tree_probs, ref_deltas, mode_deltas, coef_updates;
    std::vector<std::string>* pending_list = nullptr;  // the list the next is_available fills
    std::string pending_delta;
    std::string coef_position;
    std::istringstream in(trace);
    std::string line;
    while (std::getline(in, line)) {
        const std::string label = line.substr(line.find_first_not_of('\t'));
        if (kDeltaLabels.count(label)) pending_delta = kDeltaLabels.at(label);
        if (label.rfind("read 3 probs", 0) == 0) pending_list = &tree_probs;
        if (label.rfind("read 4 ref_deltas", 0) == 0) pending_list = &ref_deltas;
        if (label.rfind("read 4 mode_deltas", 0) == 0) pending_list = &mode_deltas;
        if (label.rfind("loop over 2 x 4", 0) == 0) pending_list = &segment_values;
        // Element lines read "<value> <- <name>".
        const size_t arrow = label.find(" <- ");
        if (arrow == std::string::npos) continue;
        const std::string value = label.substr(0, arrow), name = label.substr(arrow + 4);
        if (value.empty() || !std::isdigit(static_cast<unsigned char>(value.back()))) continue;
        if (name.rfind("is_avaible[", 0) == 0) {
            ++out.coefficient_flags;
            coef_position = name.substr(10);
            if (value == "1") {
                std::string p = coef_position;
                for (char& c : p)
                    if (c == '[' || c == ']') c = ',';
                coef_updates.push_back(p);  // ",i,,j,,k,,l," completed by the prob line
            }
            continue;
        }
        if (name == "prob") {
            std::string& p = coef_updates.back();
            std::string digits;
            for (char c : p) digits += c == ',' ? ' ' : c;
            std::istringstream parts(digits);
            std::vector<std::string> items;
            std::string item;
            while (parts >> item) items.push_back(item);
            items.push_back(value);
            p = join(items);
            continue;
        }
        if (name == "is_available") {
            if (!pending_delta.empty()) {
                if (value == "0") out.fields[pending_delta] = "null", pending_delta.clear();
            } else if (pending_list && value == "0") {
                pending_list->push_back("null");
            }
            continue;
        }
        if (name == "val") {
            out.fields[pending_delta] = value;
            pending_delta.clear();
            continue;
        }
        if (name.rfind("segment_feature_data", 0) == 0 ||
            name.rfind("mb_segment_tree_probs", 0) == 0 || name.rfind("ref_lf_deltas", 0) == 0 ||
            name.rfind("mode_lf_deltas", 0) == 0) {
            pending_list->push_back(value);
            continue;
        }
        if (name == "frame_type") {
            out.fields["key"] = value == "0" ? "1" : "0";
            continue;
        }
        if (name == "show_frame") {
            out.fields["show"] = value;
            continue;
        }
        if (name == "multi_token_partition") {
            out.fields["partitions"] = std::to_string(1 << std::stoi(value));
            continue;
        }
        const auto rename = kRenames.find(name);
        out.fields[rename == kRenames.end() ? name : rename->second] = value;
    }
    if (!segment_values.empty()) {
        out.fields["segment_quant"] = join({segment_values.begin(), segment_values.begin() + 4});
        out.fields["segment_lf"] = join({segment_values.begin() + 4, segment_values.end()});
    }
    if (!tree_probs.empty()) out.fields["segment_probs"] = join(tree_probs);
    if (!ref_deltas.empty()) out.fields["ref_lf_deltas"] = join(ref_deltas);
    if (!mode_deltas.empty()) out.fields["mode_lf_deltas"] = join(mode_deltas);
    out.fields["coef_prob_updates"] = join(coef_updates);
    return out;
}

// A truth value as the trace would show it (a coded -0 is traced as 0).
std::string as_trace_text(const JsonValue& v) {
    switch (v.kind) {
        case JsonValue::Kind::kNull:
            return "null";
        case JsonValue::Kind::kNumber:
            return std::to_string(v.as_int());
        case JsonValue::Kind::kArray: {
            std::vector<std::string> items;
            for (const JsonValue& item : v.items) items.push_back(as_trace_text(item));
            return join(items);
        }
        default:
            return v.text;
    }
}

// Checks every frame of a stream; returns the number of frames checked.
int check_stream(const std::string& ivf, const std::string& truth_path) {
    const std::vector<std::string> truth = split_lines(read_file(truth_path));
    const std::vector<Frame> frames = read_ivf_frames(ivf);
    EXPECT_FALSE(frames.empty()) << ivf;
    if (!truth_path.empty()) {
        EXPECT_EQ(truth.size(), frames.size()) << ivf;
    }
    TestDecoder decoder;
    // Header fields the trace holds; the others (probabilities of inter frames,
    // partition sizes, hashes, macroblocks) are not traced.
    static const char* const kTraced[] = {"key",
                                          "version",
                                          "show",
                                          "first_part_size",
                                          "width",
                                          "height",
                                          "hscale",
                                          "vscale",
                                          "color_space",
                                          "clamping_type",
                                          "segmentation_enabled",
                                          "update_mb_segmentation_map",
                                          "update_segment_feature_data",
                                          "segment_feature_mode",
                                          "segment_quant",
                                          "segment_lf",
                                          "segment_probs",
                                          "filter_type",
                                          "loop_filter_level",
                                          "sharpness_level",
                                          "loop_filter_adj_enable",
                                          "mode_ref_lf_delta_update",
                                          "ref_lf_deltas",
                                          "mode_lf_deltas",
                                          "partitions",
                                          "y_ac_qi",
                                          "y_dc_delta",
                                          "y2_dc_delta",
                                          "y2_ac_delta",
                                          "uv_dc_delta",
                                          "uv_ac_delta",
                                          "refresh_golden_frame",
                                          "refresh_alternate_frame",
                                          "copy_buffer_to_golden",
                                          "copy_buffer_to_alternate",
                                          "sign_bias_golden",
                                          "sign_bias_alternate",
                                          "refresh_entropy_probs",
                                          "refresh_last",
                                          "coef_prob_updates",
                                          "mb_no_skip_coeff"};
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(decoder.decode(frames[i]), vp8::kOk) << ivf << " frame " << i;
        const TraceFields trace = parse_trace(decoder.last_trace());
        EXPECT_EQ(trace.coefficient_flags, 1056) << ivf << " frame " << i;
        if (i >= truth.size()) continue;
        const auto expected = parse_json(truth[i]);
        if (!expected) {
            ADD_FAILURE() << truth_path << " line " << i;
            continue;
        }
        for (const char* field : kTraced) {
            const JsonValue* value = expected->find(field);
            if (!value) {
                EXPECT_EQ(trace.fields.count(field), 0u) << ivf << " frame " << i << " " << field;
                continue;
            }
            // copy_buffer_* are null exactly when the refresh flag spared them.
            const auto it = trace.fields.find(field);
            const std::string got = it == trace.fields.end() ? "null" : it->second;
            EXPECT_EQ(got, as_trace_text(*value)) << ivf << " frame " << i << " " << field;
        }
    }
    return static_cast<int>(frames.size());
}

TEST(HeaderTrace, BundledStreamsMatchTheirTruth) {
    for (const char* name :
         {"tiny_1x1", "all_33x17", "all_200x120", "invisible_96x64", "resize_64x48"})
        check_stream(data_path(std::string(name) + ".ivf"),
                     data_path(std::string(name) + ".truth.jsonl"));
}

TEST(HeaderTrace, CorpusStreamsMatchTheirTruth) {
    if (!corpus_available()) GTEST_SKIP() << "no shared corpus";
    int frames = 0;
    for (const std::string& ivf : corpus_files("syntax", ".ivf")) {
        const std::string stem = ivf.substr(0, ivf.size() - 4);
        const std::string truth = read_file(stem + ".truth.jsonl").empty()
                                      ? stem + ".truth.jsonl.gz"
                                      : stem + ".truth.jsonl";
        frames += check_stream(ivf, truth);
    }
    // Key-frame streams have no truth files; every frame still traces its flags.
    for (const std::string& ivf : corpus_files("keyframes", ".ivf"))
        frames += check_stream(ivf, "");
    EXPECT_GT(frames, 400);
}

}  // namespace
}  // namespace tavimor::test
