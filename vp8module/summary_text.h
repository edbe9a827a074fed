// The "Picture" text of the summary dialog: the picture's number, type,
// segmentation and loop filter, its size, bits and place in the file, and
// the statistics of its macroblocks by mode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vp8dec/analysis_context.h"
#include "vp8dec/mb_analysis_record.h"

namespace tavimor {

struct SummaryFacts {
    int picture_number = 0;  // the view state's current frame index
    vp8::FrameSummary summary{};
    int display_width = 0;  // the decoder's display size
    int display_height = 0;
    int coded_width = 0;  // the shown picture's (macroblock-aligned) size
    int coded_height = 0;
    int frame_size = 0;          // bytes of the frame, without its IVF frame header
    int64_t frame_position = 0;  // of the frame's first byte in the file
};

// The text; a picture without intra macroblocks prints 0.00 bits per intra
// macroblock rather than dividing by zero (and so for the other averages).
std::string summary_text(const SummaryFacts& facts,
                         const std::vector<vp8::MbAnalysisRecord>& records);

// The lines after the summary that tell what the working files hold: the
// pictures cached of those decoded so far, and their size against the budget.
std::string working_files_lines(int cached, int decoded, int64_t bytes, int64_t budget);

}  // namespace tavimor
