#include "vp8dec/frame_analysis_files.h"

#include "vp8dec/analysis_context.h"

namespace vp8 {

std::FILE* trace_file(const DecoderInstance& instance) {
    return instance.analysis ? instance.analysis->trace_file : nullptr;
}

namespace {

int64_t file_position(std::FILE* file) {
    return file ? static_cast<int64_t>(std::ftell(file)) : 0;
}

}  // namespace

void note_file_positions(DecoderInstance& instance) {
    if (!instance.record || !instance.analysis) return;
    instance.record->trace_position = file_position(instance.analysis->trace_file);
    instance.record->mbinfo_position = file_position(instance.analysis->mbinfo_file);
    instance.record->coef_position = file_position(instance.analysis->coef_file);
}

void write_frame_records(DecoderInstance& instance) {
    AnalysisContext* analysis = instance.analysis;
    if (!analysis) return;
    if (analysis->mbinfo_file) {
        // Each macroblock row followed by its border record.
        const MbAnalysisRecord* first = mb_record(instance, 0, 0);
        const size_t count = static_cast<size_t>(instance.mode_info_stride) * instance.mb_rows;
        std::fwrite(first, sizeof(MbAnalysisRecord), count, analysis->mbinfo_file);
    }
    if (FrameAnalysisRecord* record = instance.record) {
        record->trace_length = file_position(analysis->trace_file) - record->trace_position;
        record->mbinfo_length = file_position(analysis->mbinfo_file) - record->mbinfo_position;
        record->coef_length = file_position(analysis->coef_file) - record->coef_position;
    }
}

void note_reference_numbers(DecoderInstance& instance) {
    if (FrameAnalysisRecord* record = instance.record) {
        record->last_frame_number = static_cast<uint8_t>(instance.last->frame_number);
        record->golden_frame_number = static_cast<uint8_t>(instance.golden->frame_number);
        record->altref_frame_number = static_cast<uint8_t>(instance.altref->frame_number);
    }
}

}  // namespace vp8
