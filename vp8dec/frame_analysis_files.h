// The frame's part of the analysis files: their positions before the frame,
// and the macroblock records and lengths after it.
#pragma once

#include <cstdio>

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// The header trace's file, or null when no trace is written.
std::FILE* trace_file(const DecoderInstance& instance);

// Notes where the frame's trace, records and coefficients start.
void note_file_positions(DecoderInstance& instance);

// Appends the frame's macroblock records and notes the lengths the frame
// wrote to each file.
void write_frame_records(DecoderInstance& instance);

// Notes in the frame's record the picture numbers its references held.
void note_reference_numbers(DecoderInstance& instance);

}  // namespace vp8
