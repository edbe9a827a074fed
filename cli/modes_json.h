// One JSON line per decoded frame describing what was coded: the header fields
// as coded and every macroblock's segment, skip flag, modes, vectors and
// non-zero coefficient counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vp8dec/decoder_instance.h"

namespace tavimor {

// Collects per-macroblock coefficient facts while a frame decodes: the
// non-zero count of each block and a hash of all coded levels.
class MacroblockCoefficients {
  public:
    // The decoder's token observer; user is a MacroblockCoefficients. The first
    // macroblock of a frame starts the frame's collection.
    static void observe(void* user, const vp8::DecoderInstance& instance,
                        const vp8::MacroblockContext& mb, const int16_t* levels);

    // Non-zero counts of the 25 blocks: Y2 (-1 without one), Y 0..15, U 0..3, V 0..3.
    const int* counts(int mb_index) const { return counts_.data() + 25 * mb_index; }
    // FNV-1a over the levels of every non-skipped macroblock in zigzag order.
    uint32_t hash() const { return hash_; }

  private:
    std::vector<int> counts_;
    uint32_t hash_ = 2166136261u;
};

std::string modes_json_line(int64_t frame_index, const vp8::DecoderInstance& instance,
                            const MacroblockCoefficients& coefficients);

}  // namespace tavimor
