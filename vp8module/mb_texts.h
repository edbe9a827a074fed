// The texts of one macroblock: "MB Info" (where it is and what it cost) and
// "Pred Info" (how it is predicted: intra modes, or partitions and vectors).
#pragma once

#include <cstdint>
#include <string>

#include "vp8dec/frame_analysis_record.h"
#include "vp8dec/mb_analysis_record.h"

namespace tavimor {

// A macroblock's place: column, row and number (column + row x columns).
struct MbPlace {
    int column = 0;
    int row = 0;
    int number = 0;
};

// The picture numbers the references held when the picture was decoded, as
// the signed bytes the texts print.
struct ReferenceNumbers {
    int8_t last = 0;
    int8_t golden = 0;
    int8_t altref = 0;

    static ReferenceNumbers of(const vp8::FrameAnalysisRecord& record);
    int of_reference(int reference) const;
};

std::string mb_info_text(const vp8::MbAnalysisRecord& record, const MbPlace& place);

std::string pred_info_text(const vp8::MbAnalysisRecord& record, const MbPlace& place,
                           const ReferenceNumbers& references);

}  // namespace tavimor
