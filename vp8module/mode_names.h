// The names the texts give macroblock modes, sub-block modes, split
// partitionings and reference frames: tables from value to name.
#pragma once

#include <string_view>

namespace tavimor {

// "DC_PRED" ... "SPLITMV"; "?" for a value outside the table.
std::string_view mb_mode_name(int mode);
// "B_DC_PRED" ... "B_HU_PRED", then "LEFT4X4", "ABOVE4X4", "ZERO4X4", "NEW4X4".
std::string_view subblock_mode_name(int mode);
// "16x8", "8x16", "8x8", "4x4".
std::string_view partition_size_name(int partitioning);
// "INTRA_FRAME" ... "ALTREF_FRAME".
std::string_view reference_frame_name(int reference);

}  // namespace tavimor
