#include "vp8dec/frame_header.h"

#include <cstring>

#include "vp8dec/analysis_context.h"
#include "vp8dec/coefficient_trace_lines.h"
#include "vp8dec/decoder_error.h"
#include "vp8dec/error_codes.h"
#include "vp8dec/factor_tables.h"
#include "vp8dec/token_partitions.h"

namespace vp8 {

namespace {

constexpr char kTruncatedFirstPartition[] = "Truncated packet or corrupt partition 0 length";

struct VersionSettings {
    int no_loop_filter, simple_loop_filter, bilinear_motion, full_pixel;
};

VersionSettings version_settings(int version) {
    switch (version) {
        case 1:
            return {0, 1, 1, 0};
        case 2:
            return {1, 0, 1, 0};
        case 3:
            return {1, 1, 1, 1};
        default:
            return {0, 0, 0, 0};
    }
}

// Reads a flag and, when set, a magnitude and a sign bit.
CodedField read_coded_field(BoolReader& reader, int magnitude_bits) {
    CodedField field{};
    field.present = read_bool(reader, 128) != 0;
    if (field.present) {
        field.magnitude = static_cast<int>(read_literal(reader, magnitude_bits));
        field.negative = read_bool(reader, 128) != 0;
    }
    return field;
}

void read_key_frame_start(DecoderInstance& instance, const HeaderTrace& trace) {
    const uint8_t* data = instance.data;
    trace.line("\tif(KEY_FRAME)\n");
    if (instance.size < 10) raise_error(instance, kErrorCorruptFrame, kTruncatedFirstPartition);
    if (data[3] != 0x9d || data[4] != 0x01 || data[5] != 0x2a)
        raise_error(instance, kErrorUnsupportedBitstream, "Invalid frame sync code");
    trace.line("\t\t0x9d012a\n");
    const int width_word = data[6] | (data[7] << 8);
    const int height_word = data[8] | (data[9] << 8);
    const int width = width_word & 0x3fff;
    const int height = height_word & 0x3fff;
    const int hscale = width_word >> 14;
    const int vscale = height_word >> 14;
    trace.line("\t\t%d <- width\n", width);
    trace.line("\t\t%d <- horiz_scale\n", hscale);
    trace.line("\t\t%d <- height\n", height);
    trace.line("\t\t%d <- vert_scale\n", vscale);
    FrameSyntax& syntax = instance.syntax;
    syntax.width = width;
    syntax.height = height;
    syntax.hscale = hscale;
    syntax.vscale = vscale;
    instance.hscale = hscale;
    instance.vscale = vscale;
    if (width != instance.width || height != instance.height) {
        if (width == 0) raise_error(instance, kErrorCorruptFrame, "Invalid frame width");
        if (height == 0) raise_error(instance, kErrorCorruptFrame, "Invalid frame height");
        instance.width = width;
        instance.height = height;
        if (!resize_buffers(instance, width, height)) {
            instance.width = 0;
            instance.height = 0;
            raise_error(instance, kErrorMemory, "Failed to allocate frame buffers");
        }
    }
}

void initialise_frame(DecoderInstance& instance) {
    if (instance.frame_type == 0) {
        ProbabilityContext& probs = instance.probs;
        std::memcpy(probs.mv, kDefaultMvProbs, sizeof(probs.mv));
        std::memcpy(probs.ymode, kDefaultYModeProbs, sizeof(probs.ymode));
        std::memcpy(probs.uv_mode, kDefaultUvModeProbs, sizeof(probs.uv_mode));
        std::memcpy(probs.coef, kDefaultCoefProbs, sizeof(probs.coef));
        std::memcpy(probs.subblock_mode, kDefaultSubblockModeProbs, sizeof(probs.subblock_mode));
        std::memset(instance.segmentation.feature_data, 0,
                    sizeof(instance.segmentation.feature_data));
        instance.segmentation.abs_delta = 0;
        std::memset(instance.loop_filter.ref_deltas, 0, sizeof(instance.loop_filter.ref_deltas));
        std::memset(instance.loop_filter.mode_deltas, 0, sizeof(instance.loop_filter.mode_deltas));
        instance.refresh_golden_frame = 1;
        instance.refresh_alt_ref_frame = 1;
        instance.copy_buffer_to_gf = 0;
        instance.copy_buffer_to_arf = 0;
        instance.sign_bias[GOLDEN_FRAME] = 0;
        instance.sign_bias[ALTREF_FRAME] = 0;
    }
}

void read_segmentation(DecoderInstance& instance, BoolReader& reader, const HeaderTrace& trace) {
    SegmentationState& seg = instance.segmentation;
    FrameSyntax& syntax = instance.syntax;
    seg.enabled = static_cast<int>(read_literal(reader, 1));
    syntax.segmentation_enabled = seg.enabled;
    if (instance.analysis)
        instance.analysis->summary.segmentation_enabled = static_cast<uint8_t>(seg.enabled);
    trace.line("\t%d <- segmentation_enabled\n", seg.enabled);
    if (!seg.enabled) {
        // Without segmentation no map is read; nothing updates it this frame.
        seg.update_map = 0;
        seg.update_data = 0;
        return;
    }
    seg.update_map = static_cast<int>(read_literal(reader, 1));
    seg.update_data = static_cast<int>(read_literal(reader, 1));
    syntax.update_mb_segmentation_map = seg.update_map;
    syntax.update_segment_feature_data = seg.update_data;
    trace.line("\t\t%d <- update_mb_segmentation_map\n", seg.update_map);
    trace.line("\t\t%d <- update_mb_segmentation_data\n", seg.update_data);
    trace.line("\t\tif(update_mb_segmentation_data)\n");
    if (seg.update_data) {
        seg.abs_delta = static_cast<int>(read_literal(reader, 1));
        syntax.segment_feature_mode = seg.abs_delta;
        trace.line("\t\t\t%d <- mb_segement_abs_delta\n", seg.abs_delta);
        std::memset(seg.feature_data, 0, sizeof(seg.feature_data));
        trace.line("\t\t\tloop over %d x %d mb segments\n", 2, 4);
        static const int kFeatureBits[2] = {7, 6};
        for (int feature = 0; feature < 2; ++feature) {
            CodedField* coded = feature == 0 ? syntax.segment_quant : syntax.segment_lf;
            for (int segment = 0; segment < 4; ++segment) {
                const CodedField field = read_coded_field(reader, kFeatureBits[feature]);
                coded[segment] = field;
                if (field.present) {
                    trace.line("\t\t\t\t1 <- is_available\n");
                    seg.feature_data[feature][segment] = static_cast<int8_t>(field.value());
                    trace.line("\t\t\t\t\t%d <- segment_feature_data[%d][%d]\n", field.value(),
                               feature, segment);
                } else {
                    seg.feature_data[feature][segment] = 0;
                    trace.line("\t\t\t\t0 <- is_available\n");
                }
            }
        }
    }
    trace.line("\t\tif(update_mb_segmentation_map)\n");
    if (seg.update_map) {
        std::memset(seg.tree_probs, 255, sizeof(seg.tree_probs));
        trace.line("\t\t\tread %d probs\n", 3);
        for (int i = 0; i < 3; ++i) {
            CodedField& field = syntax.segment_probs[i];
            field.present = read_bool(reader, 128) != 0;
            if (field.present) {
                trace.line("\t\t\t\t1 <- is_available\n");
                field.magnitude = static_cast<int>(read_literal(reader, 8));
                seg.tree_probs[i] = static_cast<uint8_t>(field.magnitude);
                trace.line("\t\t\t\t\t%d <- mb_segment_tree_probs[i]\n", field.magnitude);
            } else {
                trace.line("\t\t\t\t0 <- is_available\n");
            }
        }
    }
}

void read_loop_filter_deltas(DecoderInstance& instance, BoolReader& reader,
                             const HeaderTrace& trace, bool mode_deltas) {
    int8_t* deltas =
        mode_deltas ? instance.loop_filter.mode_deltas : instance.loop_filter.ref_deltas;
    CodedField* coded =
        mode_deltas ? instance.syntax.mode_lf_deltas : instance.syntax.ref_lf_deltas;
    const char* format =
        mode_deltas ? "\t\t\t\t\t%d <- mode_lf_deltas[i]\n" : "\t\t\t\t\t%d <- ref_lf_deltas[i]\n";
    trace.line(
        mode_deltas ? "\t\t\tread %d mode_deltas udpates\n" : "\t\t\tread %d ref_deltas udpates\n",
        4);
    for (int i = 0; i < 4; ++i) {
        const CodedField field = read_coded_field(reader, 6);
        coded[i] = field;
        if (field.present) {
            trace.line("\t\t\t\t1 <- is_available\n");
            deltas[i] = static_cast<int8_t>(field.value());
            trace.line(format, field.value());
        } else {
            trace.line("\t\t\t\t0 <- is_available\n");
        }
    }
}

void read_loop_filter(DecoderInstance& instance, BoolReader& reader, const HeaderTrace& trace) {
    LoopFilterHeader& lf = instance.loop_filter;
    FrameSyntax& syntax = instance.syntax;
    lf.filter_type = static_cast<int>(read_literal(reader, 1));
    lf.filter_level = static_cast<int>(read_literal(reader, 6));
    lf.sharpness_level = static_cast<int>(read_literal(reader, 3));
    syntax.filter_type = lf.filter_type;
    syntax.loop_filter_level = lf.filter_level;
    syntax.sharpness_level = lf.sharpness_level;
    trace.line("\t%d <- filter_type\n", lf.filter_type);
    trace.line("\t%d <- filter_level\n", lf.filter_level);
    trace.line("\t%d <- sharpness_level\n", lf.sharpness_level);
    lf.delta_update = 0;
    lf.delta_enabled = static_cast<int>(read_literal(reader, 1));
    syntax.loop_filter_adj_enable = lf.delta_enabled;
    trace.line("\t%d <- mode_ref_lf_delta_enabled\n", lf.delta_enabled);
    if (!lf.delta_enabled) return;
    lf.delta_update = static_cast<int>(read_literal(reader, 1));
    syntax.mode_ref_lf_delta_update = lf.delta_update;
    trace.line("\t\t%d <- mode_ref_lf_delta_update\n", lf.delta_update);
    if (!lf.delta_update) return;
    read_loop_filter_deltas(instance, reader, trace, false);
    read_loop_filter_deltas(instance, reader, trace, true);
}

void read_quantiser(DecoderInstance& instance, BoolReader& reader, const HeaderTrace& trace) {
    QuantHeader& q = instance.quant;
    q.base_index = static_cast<int>(read_literal(reader, 7));
    instance.syntax.y_ac_qi = q.base_index;
    trace.line("\t%d <- Q\n", q.base_index);
    static const char* const kLabels[5] = {"\ty1dc_delta_q\n", "\ty2dc_delta_q\n",
                                           "\ty2ac_delta_q\n", "\tuvdc_delta_q\n",
                                           "\tuvac_delta_q\n"};
    int* const deltas[5] = {&q.y1dc_delta, &q.y2dc_delta, &q.y2ac_delta, &q.uvdc_delta,
                            &q.uvac_delta};
    bool changed = false;
    for (int i = 0; i < 5; ++i) {
        trace.line(kLabels[i]);
        const CodedField field = read_coded_field(reader, 4);
        instance.syntax.q_deltas[i] = field;
        int value = 0;
        if (field.present) {
            trace.line("\t\t1 <- is_available\n");
            value = field.value();
            trace.line("\t\t\t%d <- val\n", value);
        } else {
            trace.line("\t\t0 <- is_available\n");
        }
        changed |= value != *deltas[i];
        *deltas[i] = value;
    }
    if (changed) build_factor_tables(instance.factors, q);
    select_frame_factors(instance);
}

void read_reference_updates(DecoderInstance& instance, BoolReader& reader,
                            const HeaderTrace& trace) {
    FrameSyntax& syntax = instance.syntax;
    trace.line("\tif(not KEY_FRAME)\n");
    instance.refresh_golden_frame = static_cast<int>(read_literal(reader, 1));
    instance.refresh_alt_ref_frame = static_cast<int>(read_literal(reader, 1));
    syntax.refresh_golden_frame = instance.refresh_golden_frame;
    syntax.refresh_alternate_frame = instance.refresh_alt_ref_frame;
    trace.line("\t\t%d <- refresh_golden_frame\n", instance.refresh_golden_frame);
    trace.line("\t\t%d <- refresh_alt_ref_frame\n", instance.refresh_alt_ref_frame);
    instance.copy_buffer_to_gf = 0;
    if (!instance.refresh_golden_frame) {
        trace.line("\t\tif(refresh_golden_frame is 0)\n");
        instance.copy_buffer_to_gf = static_cast<int>(read_literal(reader, 2));
        syntax.copy_buffer_to_golden = {true, instance.copy_buffer_to_gf, false};
        trace.line("\t\t\t%d <- copy_buffer_to_gf\n", instance.copy_buffer_to_gf);
    }
    instance.copy_buffer_to_arf = 0;
    if (!instance.refresh_alt_ref_frame) {
        trace.line("\t\tif(refresh_alt_ref_frame is 0)\n");
        instance.copy_buffer_to_arf = static_cast<int>(read_literal(reader, 2));
        syntax.copy_buffer_to_alternate = {true, instance.copy_buffer_to_arf, false};
        trace.line("\t\t\t%d <- copy_buffer_to_arf\n", instance.copy_buffer_to_arf);
    }
    instance.sign_bias[GOLDEN_FRAME] = static_cast<int>(read_literal(reader, 1));
    instance.sign_bias[ALTREF_FRAME] = static_cast<int>(read_literal(reader, 1));
    syntax.sign_bias_golden = instance.sign_bias[GOLDEN_FRAME];
    syntax.sign_bias_alternate = instance.sign_bias[ALTREF_FRAME];
    trace.line("\t\t%d <- ref_frame_sign_bias[GOLDEN_FRAME]\n", instance.sign_bias[GOLDEN_FRAME]);
    trace.line("\t\t%d <- ref_frame_sign_bias[ALTREF_FRAME]\n", instance.sign_bias[ALTREF_FRAME]);
}

void read_coefficient_updates(DecoderInstance& instance, BoolReader& source,
                              const HeaderTrace& trace) {
    trace.line("\tread coef prob tree\n");
    // A thousand reads and more: the reader's window is kept in registers.
    WindowReader reader(source);
    for (int i = 0; i < kBlockTypes; ++i)
        for (int j = 0; j < kCoefBands; ++j)
            for (int k = 0; k < kCoefContexts; ++k)
                for (int l = 0; l < kCoefNodes; ++l) {
                    if (read_bool(reader, kCoefUpdateProbs[i][j][k][l])) {
                        const int prob = static_cast<int>(read_literal(reader, 8));
                        instance.probs.coef[i][j][k][l] = static_cast<uint8_t>(prob);
                        instance.syntax.coef_prob_updates.push_back(
                            {static_cast<uint8_t>(i), static_cast<uint8_t>(j),
                             static_cast<uint8_t>(k), static_cast<uint8_t>(l),
                             static_cast<uint8_t>(prob)});
                        trace.line("\t\t1 <- is_avaible[%d][%d][%d][%d]\n", i, j, k, l);
                        trace.line("\t\t\t%d <- prob\n", prob);
                    } else if (trace.enabled()) {
                        trace.line(coefficient_kept_line(i, j, k, l));
                    }
                }
    reader.finish();
}

}  // namespace

void read_frame_tag(DecoderInstance& instance) {
    const uint8_t* data = instance.data;
    const uint32_t size = instance.size;
    FrameSyntax& syntax = instance.syntax;
    if (size < 3) raise_error(instance, kErrorCorruptFrame, kTruncatedFirstPartition);
    const uint32_t tag = data[0] | (data[1] << 8) | (data[2] << 16);
    instance.frame_type = static_cast<int>(tag & 1);
    instance.version = static_cast<int>((tag >> 1) & 7);
    instance.show_frame = static_cast<int>((tag >> 4) & 1);
    const uint32_t first_partition_length = tag >> 5;
    if (instance.analysis)
        instance.analysis->summary.frame_type = static_cast<uint8_t>(instance.frame_type);
    syntax.key_frame = instance.frame_type == 0;
    syntax.version = instance.version;
    syntax.show_frame = instance.show_frame;
    syntax.first_part_size = static_cast<int>(first_partition_length);
    if (size < 3 + static_cast<uint64_t>(first_partition_length))
        raise_error(instance, kErrorCorruptFrame, kTruncatedFirstPartition);
}

bool read_frame_header(DecoderInstance& instance, const HeaderTrace& trace) {
    const uint8_t* data = instance.data;
    const uint32_t size = instance.size;
    FrameSyntax& syntax = instance.syntax;
    const auto first_partition_length = static_cast<uint32_t>(syntax.first_part_size);
    trace.line("frame_hdr\n");
    trace.line("\t%d <- frame_type\n", instance.frame_type);
    trace.line("\t%d <- version\n", instance.version);
    trace.line("\t%d <- show_frame\n", instance.show_frame);
    trace.line("\t%d <- first_partition_length_in_bytes\n",
               static_cast<int>(first_partition_length));

    // The version's filters, then on a key frame the start code and picture size.
    const VersionSettings settings = version_settings(instance.version);
    instance.no_loop_filter = settings.no_loop_filter;
    instance.simple_loop_filter = settings.simple_loop_filter;
    instance.bilinear_motion = settings.bilinear_motion;
    instance.full_pixel = settings.full_pixel;
    const bool key_frame = instance.frame_type == 0;
    if (key_frame) read_key_frame_start(instance, trace);
    if (instance.width == 0 || instance.height == 0) return false;

    // Key-frame defaults and the first partition's reader.
    initialise_frame(instance);
    const uint32_t header_bytes = key_frame ? 10 : 3;
    BoolReader& reader = instance.first_reader;
    if (bool_start(reader, data + header_bytes, size - header_bytes) != 0)
        raise_error(instance, kErrorMemory, "Failed to allocate bool decoder 0");

    // The header fields of the first partition.
    if (key_frame) {
        instance.clr_type = static_cast<int>(read_literal(reader, 1));
        instance.clamp_type = static_cast<int>(read_literal(reader, 1));
        syntax.color_space = instance.clr_type;
        syntax.clamping_type = instance.clamp_type;
        trace.line("\t\t%d <- clr_type\n", instance.clr_type);
        trace.line("\t\t%d <- clamp_type\n", instance.clamp_type);
    }
    read_segmentation(instance, reader, trace);
    read_loop_filter(instance, reader, trace);
    open_token_partitions(instance, uint64_t{header_bytes} + first_partition_length, trace);
    read_quantiser(instance, reader, trace);
    if (!key_frame) read_reference_updates(instance, reader, trace);
    instance.refresh_entropy_probs = static_cast<int>(read_literal(reader, 1));
    syntax.refresh_entropy_probs = instance.refresh_entropy_probs;
    trace.line("\t%d <- refresh_entropy_probs\n", instance.refresh_entropy_probs);
    if (!instance.refresh_entropy_probs) instance.saved_probs = instance.probs;
    instance.refresh_last_frame = 1;
    if (!key_frame) {
        instance.refresh_last_frame = static_cast<int>(read_literal(reader, 1));
        trace.line("\tif(not KEY_FRAME)\n");
        trace.line("\t\t%d <- refresh_last_frame\n", instance.refresh_last_frame);
    }
    syntax.refresh_last = instance.refresh_last_frame;
    read_coefficient_updates(instance, reader, trace);
    instance.mb_no_coeff_skip = static_cast<int>(read_literal(reader, 1));
    syntax.mb_no_skip_coeff = instance.mb_no_coeff_skip;
    trace.line("\t%d <- mb_no_coeff_skip\n", instance.mb_no_coeff_skip);
    return true;
}

}  // namespace vp8
