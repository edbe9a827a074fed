// The names the texts give macroblock modes and reference frames.
#pragma once

#include <string_view>

namespace tavimor {

// "DC_PRED" ... "SPLITMV"; "?" for a value outside the table.
std::string_view mb_mode_name(int mode);
// "INTRA_FRAME" ... "ALTREF_FRAME"; "?" outside the table.
std::string_view reference_frame_name(int reference);

}  // namespace tavimor
