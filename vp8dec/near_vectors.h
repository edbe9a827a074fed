// The near-vector search of inter macroblocks and the clamping window.
#pragma once

#include <algorithm>

#include "vp8dec/mb_analysis_record.h"

namespace vp8 {

// Distances in eighth samples from a macroblock to the picture edges.
struct EdgeDistances {
    int left, right, top, bottom;
};

inline EdgeDistances edge_distances(int mb_row, int mb_col, int mb_rows, int mb_cols) {
    return {-(mb_col * 128), (mb_cols - 1 - mb_col) * 128, -(mb_row * 128),
            (mb_rows - 1 - mb_row) * 128};
}

// Vectors further than one macroblock outside the picture lie outside the window.
inline bool outside_window(const MotionVector& mv, const EdgeDistances& edges) {
    return mv.col < edges.left - 128 || mv.col > edges.right + 128 || mv.row < edges.top - 128 ||
           mv.row > edges.bottom + 128;
}

inline MotionVector clamp_to_window(const MotionVector& mv, const EdgeDistances& edges) {
    return {static_cast<int16_t>(std::clamp<int>(mv.row, edges.top - 128, edges.bottom + 128)),
            static_cast<int16_t>(std::clamp<int>(mv.col, edges.left - 128, edges.right + 128))};
}

struct NearVectors {
    MotionVector nearest;
    MotionVector near;
    MotionVector best;
    int counts[4];
};

// Searches the above, left and above-left neighbours of the record (which
// lies in the record array) for the given reference; the vectors come back
// clamped to the window.
NearVectors search_near_vectors(const MbAnalysisRecord* record, int stride, int ref_frame,
                                const int* sign_bias, const EdgeDistances& edges);

}  // namespace vp8
