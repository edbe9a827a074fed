#include "vp8dec/near_vectors.h"

#include <algorithm>
#include <utility>

#include "vp8dec/mb_modes.h"

namespace vp8 {

NearVectors search_near_vectors(const MbAnalysisRecord* record, int stride, int ref_frame,
                                const int* sign_bias, const EdgeDistances& edges) {
    const MbAnalysisRecord* const neighbours[3] = {record - stride, record - 1,
                                                   record - stride - 1};
    static const int kWeights[3] = {2, 2, 1};
    MotionVector slots[4] = {};
    // The counts are kept where they are returned: copied there at the end,
    // they would be read back sixteen bytes at a time right after being
    // written four at a time, a load that waits for the stores to land.
    NearVectors result;
    int* const counts = result.counts;
    counts[0] = counts[1] = counts[2] = counts[3] = 0;
    int last = 0;  // the slot entered last; slot 0 holds the zero vector
    for (int n = 0; n < 3; ++n) {
        const MbAnalysisRecord& neighbour = *neighbours[n];
        if (neighbour.ref_frame == INTRA_FRAME) continue;
        MotionVector mv = neighbour.mv;
        if (mv.is_zero()) {
            counts[0] += kWeights[n];
            continue;
        }
        if (sign_bias[neighbour.ref_frame] != sign_bias[ref_frame]) {
            mv.row = static_cast<int16_t>(-mv.row);
            mv.col = static_cast<int16_t>(-mv.col);
        }
        if (!(mv == slots[last])) slots[++last] = mv;
        counts[last] += kWeights[n];
    }
    // A third distinct vector equal to the first raises the first's count.
    if (counts[3] && slots[3] == slots[1]) counts[1] += 1;
    const MbAnalysisRecord& above = *neighbours[0];
    const MbAnalysisRecord& left = *neighbours[1];
    const MbAnalysisRecord& above_left = *neighbours[2];
    counts[3] =
        (above.mode == SPLITMV) * 2 + (left.mode == SPLITMV) * 2 + (above_left.mode == SPLITMV);
    if (counts[2] > counts[1]) {
        std::swap(counts[1], counts[2]);
        std::swap(slots[1], slots[2]);
    }
    result.best = counts[1] >= counts[0] ? slots[1] : MotionVector{};
    result.nearest = clamp_to_window(slots[1], edges);
    result.near = clamp_to_window(slots[2], edges);
    result.best = clamp_to_window(result.best, edges);
    return result;
}

}  // namespace vp8
