// Reading the analysis record of one macroblock of the picture shown from the
// macroblock information file.
#pragma once

#include "vp8dec/mb_analysis_record.h"

namespace tavimor {

struct Vp8ModuleState;

// The record of macroblock (column, row): one seek and one 316-byte read.
// When fewer bytes arrive, "Failed to get mb information!" is shown and the
// record keeps what was read (zero beyond).
vp8::MbAnalysisRecord read_mb_record(Vp8ModuleState& state, int column, int row);

}  // namespace tavimor
