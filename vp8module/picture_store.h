// Keeping a decoded picture in the working files: its three pictures in the
// picture cache and its header trace, macroblock records and coefficients in
// the analysis files, within the budget (the pictures farthest from it are
// dropped to make room, and their space is used again), and its frame-table
// entry. The analyser stops when the files cannot be written.
#pragma once

#include "vp8dec/frame_analysis_record.h"

namespace tavimor {

struct Vp8ModuleState;

void store_picture(Vp8ModuleState& state, vp8::FrameAnalysisRecord& record, int index);

}  // namespace tavimor
