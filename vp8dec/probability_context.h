// The probabilities that persist from frame to frame (saved and restored
// around a frame whose refresh_entropy_probs is 0).
#pragma once

#include <cstdint>

#include "vp8dec/tables.h"

namespace vp8 {

struct ProbabilityContext {
    uint8_t coef[kBlockTypes][kCoefBands][kCoefContexts][kCoefNodes];
    uint8_t ymode[4];
    uint8_t uv_mode[3];
    uint8_t subblock_mode[kSubblockModes - 1];
    uint8_t mv[2][kMvProbCount];
};

// The defaults a key frame restores.
void set_default_probabilities(ProbabilityContext& probs);

}  // namespace vp8
