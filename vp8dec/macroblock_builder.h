// The two halves of building one macroblock: its tokens read into levels, and
// its prediction with the residual of those levels added, in the frame.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// Reads the macroblock's tokens (none when it is skipped), updating the token
// contexts, and shows them to the token observer.
void read_macroblock_levels(DecoderInstance& instance, MacroblockContext& mb,
                            MacroblockLevels& levels);
// Predicts the macroblock into the frame and adds the residual of its levels,
// clearing them.
void reconstruct_macroblock(DecoderInstance& instance, MacroblockContext& mb,
                            MacroblockLevels& levels);

}  // namespace vp8
