// Modes of a key frame's macroblocks.
#pragma once

#include "vp8dec/decoder_instance.h"
#include "vp8dec/mode_rows.h"

namespace vp8 {

// Reads every macroblock's segment id, skip flag and intra modes.
void read_key_frame_modes(DecoderInstance& instance, const ModeRowsNotice* notice = nullptr);

}  // namespace vp8
