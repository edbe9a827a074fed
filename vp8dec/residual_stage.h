// Dequantisation, inverse transforms and the coefficient dump of one macroblock.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

void residual_stage(DecoderInstance& instance, MacroblockContext& mb);
// Writes 24 empty coefficient records.
void write_empty_coef_records(DecoderInstance& instance);

}  // namespace vp8
