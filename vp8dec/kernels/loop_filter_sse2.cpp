// SSE2 loop-filter edge operations: sixteen lines across an edge at once, the
// luma lines of a macroblock or its eight U lines beside its eight V lines.
// Vertical edges are transposed so that each register holds one column.
#include "vp8dec/kernels/loop_filter_128.h"
#include "vp8dec/kernels/vector_variants.h"
#include "vp8dec/kernels/vertical_edges_128.h"

namespace vp8::sse2 {

void normal_mb_edge_left(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                         const FilterLevelEntry& e) {
    mb_edge_columns(y, y + 8 * y_stride, y_stride, luma_limits(e, true));
    mb_edge_columns(u, v, uv_stride, chroma_limits(e, true));
}

void normal_inner_vertical(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e) {
    const Limits128 luma = luma_limits(e, false);
    for (int at = 4; at < 16; at += 4)
        inner_edge_columns(y + at, y + 8 * y_stride + at, y_stride, luma);
    inner_edge_columns(u + 4, v + 4, uv_stride, chroma_limits(e, false));
}

void normal_mb_edge_top(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                        const FilterLevelEntry& e) {
    mb_edge_rows(RowLines(y, y_stride), luma_limits(e, true));
    mb_edge_rows(RowLines(u, v, uv_stride), chroma_limits(e, true));
}

void normal_inner_horizontal(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                             const FilterLevelEntry& e) {
    const Limits128 luma = luma_limits(e, false);
    for (int at = 4; at < 16; at += 4) inner_edge_rows(RowLines(y + at * y_stride, y_stride), luma);
    inner_edge_rows(RowLines(u + 4 * uv_stride, v + 4 * uv_stride, uv_stride),
                    chroma_limits(e, false));
}

void normal_vertical_edges(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e) {
    normal_vertical_edges_128(y, u, v, y_stride, uv_stride, e);
}

void simple_mb_edge_left(uint8_t* y, uint8_t*, uint8_t*, int y_stride, int,
                         const FilterLevelEntry& e) {
    simple_edge_columns(y, y_stride, simple_edge_limit(e, true));
}

void simple_inner_vertical(uint8_t* y, uint8_t*, uint8_t*, int y_stride, int,
                           const FilterLevelEntry& e) {
    const __m128i edge = simple_edge_limit(e, false);
    for (int at = 4; at < 16; at += 4) simple_edge_columns(y + at, y_stride, edge);
}

void simple_mb_edge_top(uint8_t* y, uint8_t*, uint8_t*, int y_stride, int,
                        const FilterLevelEntry& e) {
    simple_edge_rows(y, y_stride, simple_edge_limit(e, true));
}

void simple_inner_horizontal(uint8_t* y, uint8_t*, uint8_t*, int y_stride, int,
                             const FilterLevelEntry& e) {
    const __m128i edge = simple_edge_limit(e, false);
    for (int at = 4; at < 16; at += 4) simple_edge_rows(y + at * y_stride, y_stride, edge);
}

void simple_vertical_edges(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e) {
    simple_mb_edge_left(y, u, v, y_stride, uv_stride, e);
    simple_inner_vertical(y, u, v, y_stride, uv_stride, e);
}

}  // namespace vp8::sse2
