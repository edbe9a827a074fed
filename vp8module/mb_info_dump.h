// The macroblock information dump: for each newly decoded picture, a frame
// line and the chosen text of every macroblock, written to the dump file the
// shell opened.
#pragma once

namespace tavimor {

struct Vp8ModuleState;

// Dump types of "Select Dump Info Type".
inline constexpr int kDumpPredInfo = 0;
inline constexpr int kDumpResidualPixels = 1;
inline constexpr int kDumpCoefficients = 2;

// Writes the picture's dump: "Pred Info" texts (type 0) or the pixel texts of
// the tab chosen in "Pixel Info" (types 1 and 2), macroblock rows top to
// bottom, each left to right. False when the file refused a write (a full
// disk): the rest of the picture is not written.
bool dump_picture(Vp8ModuleState& state, int type, int descriptor);

}  // namespace tavimor
