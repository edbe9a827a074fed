// The frame header: the frame tag, the key-frame start code and picture size,
// and the header fields of the first partition, each written to the trace.
#pragma once

#include "vp8dec/decoder_instance.h"
#include "vp8dec/header_trace.h"

namespace vp8 {

// Reads frame type, version, show_frame and the first partition's length,
// which must lie inside the frame.
void read_frame_tag(DecoderInstance& instance);

// Reads the rest of the header up to mb_no_coeff_skip, sizing the buffers on
// a key frame of a new size. False when no picture size is known yet.
bool read_frame_header(DecoderInstance& instance, const HeaderTrace& trace);

}  // namespace vp8
