// The macroblock row loop: every macroblock of the frame in raster order.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// Reads the modes of every macroblock of the frame and decodes every
// macroblock row, loop-filtering the rows as it goes when nothing captures
// the picture before the loop filter. With row threads the rows are decoded
// while the modes are still being read.
void decode_modes_and_rows(DecoderInstance& instance);
// Whether decode_modes_and_rows filters the frame itself.
bool filters_in_rows(const DecoderInstance& instance);
// The parts of a row: clearing its left contexts and choosing its reader, and
// decoding the macroblock at one column: its tokens, then its reconstruction.
// The two halves may run on different threads, each with its own context.
void start_mb_row(DecoderInstance& instance, MacroblockContext& mb, int row);
void decode_macroblock(DecoderInstance& instance, MacroblockContext& mb, int col, bool capture);
void read_macroblock_tokens(DecoderInstance& instance, MacroblockContext& mb, int col,
                            MacroblockLevels& levels);
void reconstruct_macroblock_at(DecoderInstance& instance, MacroblockContext& mb, int col,
                               MacroblockLevels& levels, bool capture);

}  // namespace vp8
