// The quantised levels of one macroblock's 25 blocks, as the token reader
// leaves them for reconstruction. Reconstruction clears every level it uses,
// so a set of levels is all zeros again once its macroblock is built.
#pragma once

#include <cstdint>

namespace vp8 {

struct MacroblockLevels {
    alignas(16) int16_t coefs[25 * 16];  // raster order per block; Y2 is block 24
    uint8_t eob[25];                     // end position of each block
    bool any = false;                    // whether any block has a level
};

}  // namespace vp8
