#include "vp8dec/probability_context.h"

#include <cstring>

namespace vp8 {

void set_default_probabilities(ProbabilityContext& probs) {
    std::memcpy(probs.coef, kDefaultCoefProbs, sizeof(probs.coef));
    std::memcpy(probs.ymode, kDefaultYModeProbs, sizeof(probs.ymode));
    std::memcpy(probs.uv_mode, kDefaultUvModeProbs, sizeof(probs.uv_mode));
    std::memcpy(probs.subblock_mode, kDefaultSubblockModeProbs, sizeof(probs.subblock_mode));
    std::memcpy(probs.mv, kDefaultMvProbs, sizeof(probs.mv));
}

}  // namespace vp8
