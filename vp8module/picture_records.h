// The macroblock records of the picture shown, read from the macroblock
// information file in one read per picture and kept until another picture
// is shown.
#pragma once

#include <cstdint>
#include <vector>

#include "vp8dec/mb_analysis_record.h"

namespace tavimor {

struct Vp8ModuleState;

// The picture's size in macroblocks.
struct MbGrid {
    int columns = 0;
    int rows = 0;
};

// The grid of the view state's picture size.
MbGrid picture_grid();

// The records of the picture shown (read on first use after each new
// picture). When the file holds fewer bytes than the picture needs,
// "Failed to get mb information!" is shown and the missing records read as
// zero. Empty without a picture.
const std::vector<vp8::MbAnalysisRecord>& picture_records(Vp8ModuleState& state);

// The record of macroblock (column, row) of the picture shown; a zero record
// outside the grid.
const vp8::MbAnalysisRecord& mb_record(Vp8ModuleState& state, int column, int row);

}  // namespace tavimor
