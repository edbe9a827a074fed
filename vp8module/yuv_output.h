// The YUV output file: every newly decoded picture appended as raw planar
// 4:2:0 while "Start YUV Output" is active.
#pragma once

#include "vp8dec/planar_picture.h"

namespace tavimor {

struct Vp8ModuleState;

// Appends the picture's three planes when the output file is open, and flushes.
void append_yuv_output(Vp8ModuleState& state, const vp8::PlanarPicture& picture);

// Commands 291 (asks for a file and starts the output) and 292 (ends it).
void start_yuv_output(Vp8ModuleState& state);
void end_yuv_output(Vp8ModuleState& state);

}  // namespace tavimor
