// The decode of one compressed frame: header, modes, macroblock rows and the
// frame's analysis files.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// Returns 0, or -1 when no picture size is known yet; errors are raised.
int decode_one_frame(DecoderInstance& instance);

}  // namespace vp8
