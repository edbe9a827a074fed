// Coefficient tokens of one macroblock, with the above and left non-zero contexts.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// Tokens of one macroblock into its levels; returns the sum of the blocks' end
// positions (minus 16 with a Y2 block).
int read_mb_tokens(DecoderInstance& instance, MacroblockContext& mb, MacroblockLevels& levels);
// The contexts of a macroblock without tokens.
void clear_mb_token_contexts(MacroblockContext& mb);

}  // namespace vp8
