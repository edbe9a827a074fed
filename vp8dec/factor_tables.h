// Dequantisation factors per quantiser index, and their choice per frame and macroblock.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

void build_factor_tables(FactorTables& tables, const QuantHeader& quant);
void select_frame_factors(DecoderInstance& instance);
void select_mb_factors(DecoderInstance& instance, MacroblockContext& mb);

}  // namespace vp8
