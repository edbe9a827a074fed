// Reconstruction of one macroblock: tokens, residual, prediction, sum.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

void build_macroblock(DecoderInstance& instance, MacroblockContext& mb);

}  // namespace vp8
