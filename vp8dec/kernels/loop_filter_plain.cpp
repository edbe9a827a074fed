// Plain loop-filter edge operations: normal and simple, macroblock and inner edges.
#include <algorithm>
#include <cstdlib>

#include "vp8dec/kernels/plain_kernels.h"

namespace vp8::plain {

namespace {

inline int clamp_s8(int v) {
    return std::clamp(v, -128, 127);
}
inline int to_signed(uint8_t v) {
    return static_cast<int>(v) - 128;
}
inline uint8_t to_unsigned(int v) {
    return static_cast<uint8_t>(clamp_s8(v) + 128);
}

// The samples p3 p2 p1 p0 | q0 q1 q2 q3 across an edge; step separates them.
struct Line {
    uint8_t* at;  // q0
    int step;
    uint8_t& operator[](int i) const { return at[i * step]; }  // -4..3
};

bool edge_within(const Line& s, int edge_limit) {
    return std::abs(s[-1] - s[0]) * 2 + std::abs(s[-2] - s[1]) / 2 <= edge_limit;
}

bool normal_mask(const Line& s, int edge_limit, int interior) {
    return edge_within(s, edge_limit) && std::abs(s[-4] - s[-3]) <= interior &&
           std::abs(s[-3] - s[-2]) <= interior && std::abs(s[-2] - s[-1]) <= interior &&
           std::abs(s[3] - s[2]) <= interior && std::abs(s[2] - s[1]) <= interior &&
           std::abs(s[1] - s[0]) <= interior;
}

bool high_variance(const Line& s, int threshold) {
    return std::abs(s[-2] - s[-1]) > threshold || std::abs(s[1] - s[0]) > threshold;
}

// Adjusts p0 and q0; returns the adjustment applied to q0.
int common_adjust(const Line& s, bool use_outer_taps) {
    const int p1 = to_signed(s[-2]), p0 = to_signed(s[-1]);
    const int q0 = to_signed(s[0]), q1 = to_signed(s[1]);
    const int a = clamp_s8((use_outer_taps ? clamp_s8(p1 - q1) : 0) + 3 * (q0 - p0));
    const int f1 = clamp_s8(a + 4) >> 3;
    const int f2 = clamp_s8(a + 3) >> 3;
    s[0] = to_unsigned(q0 - f1);
    s[-1] = to_unsigned(p0 + f2);
    return f1;
}

void inner_edge_filter(const Line& s, int edge_limit, int interior, int threshold) {
    if (!normal_mask(s, edge_limit, interior)) return;
    const bool hev = high_variance(s, threshold);
    const int a = (common_adjust(s, hev) + 1) >> 1;
    if (!hev) {
        s[1] = to_unsigned(to_signed(s[1]) - a);
        s[-2] = to_unsigned(to_signed(s[-2]) + a);
    }
}

void mb_edge_filter(const Line& s, int edge_limit, int interior, int threshold) {
    if (!normal_mask(s, edge_limit, interior)) return;
    if (high_variance(s, threshold)) {
        common_adjust(s, true);
        return;
    }
    const int p2 = to_signed(s[-3]), p1 = to_signed(s[-2]), p0 = to_signed(s[-1]);
    const int q0 = to_signed(s[0]), q1 = to_signed(s[1]), q2 = to_signed(s[2]);
    const int w = clamp_s8(clamp_s8(p1 - q1) + 3 * (q0 - p0));
    const int a0 = clamp_s8((27 * w + 63) >> 7);
    const int a1 = clamp_s8((18 * w + 63) >> 7);
    const int a2 = clamp_s8((9 * w + 63) >> 7);
    s[0] = to_unsigned(q0 - a0);
    s[-1] = to_unsigned(p0 + a0);
    s[1] = to_unsigned(q1 - a1);
    s[-2] = to_unsigned(p1 + a1);
    s[2] = to_unsigned(q2 - a2);
    s[-3] = to_unsigned(p2 + a2);
}

void simple_filter(const Line& s, int edge_limit) {
    if (edge_within(s, edge_limit)) common_adjust(s, true);
}

// Runs a line filter over `count` lines of an edge. A vertical edge (between
// columns) has its lines along rows; a horizontal edge has them along columns.
template <typename Filter>
void filter_edge(uint8_t* q0, int stride, bool vertical_edge, int count, Filter filter) {
    for (int i = 0; i < count; ++i) {
        const Line line = vertical_edge ? Line{q0 + i * stride, 1} : Line{q0 + i, stride};
        filter(line);
    }
}

void normal_edges(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                  const FilterLevelEntry& e, bool vertical, bool macroblock_edge) {
    const int luma_level = macroblock_edge ? e.mb_edge_level : e.subblock_edge_level;
    const int chroma_level = macroblock_edge ? e.uv_mb_edge_level : e.uv_subblock_edge_level;
    const int luma_limit = 2 * luma_level + e.interior_limit;
    const int chroma_limit = 2 * chroma_level + e.uv_interior_limit;
    const int luma_hev = macroblock_edge ? e.mb_hev_threshold : e.hev_threshold;
    const int chroma_hev = macroblock_edge ? e.uv_mb_hev_threshold : e.uv_hev_threshold;
    const int interior = e.interior_limit;
    const int uv_interior = e.uv_interior_limit;
    auto offset = [vertical](int at, int stride) { return vertical ? at : at * stride; };
    if (macroblock_edge) {
        auto luma = [&](const Line& s) { mb_edge_filter(s, luma_limit, interior, luma_hev); };
        auto chroma = [&](const Line& s) {
            mb_edge_filter(s, chroma_limit, uv_interior, chroma_hev);
        };
        filter_edge(y, y_stride, vertical, 16, luma);
        filter_edge(u, uv_stride, vertical, 8, chroma);
        filter_edge(v, uv_stride, vertical, 8, chroma);
        return;
    }
    auto luma = [&](const Line& s) { inner_edge_filter(s, luma_limit, interior, luma_hev); };
    auto chroma = [&](const Line& s) {
        inner_edge_filter(s, chroma_limit, uv_interior, chroma_hev);
    };
    for (int at = 4; at < 16; at += 4)
        filter_edge(y + offset(at, y_stride), y_stride, vertical, 16, luma);
    filter_edge(u + offset(4, uv_stride), uv_stride, vertical, 8, chroma);
    filter_edge(v + offset(4, uv_stride), uv_stride, vertical, 8, chroma);
}

void simple_edges(uint8_t* y, int y_stride, const FilterLevelEntry& e, bool vertical,
                  bool macroblock_edge) {
    const int level = macroblock_edge ? e.mb_edge_level : e.subblock_edge_level;
    const int limit = 2 * level + e.interior_limit;
    auto filter = [limit](const Line& s) { simple_filter(s, limit); };
    if (macroblock_edge) {
        filter_edge(y, y_stride, vertical, 16, filter);
        return;
    }
    for (int at = 4; at < 16; at += 4)
        filter_edge(vertical ? y + at : y + at * y_stride, y_stride, vertical, 16, filter);
}

}  // namespace

void normal_mb_edge_left(uint8_t* y, uint8_t* u, uint8_t* v, int ys, int uvs,
                         const FilterLevelEntry& e) {
    normal_edges(y, u, v, ys, uvs, e, true, true);
}
void normal_inner_vertical(uint8_t* y, uint8_t* u, uint8_t* v, int ys, int uvs,
                           const FilterLevelEntry& e) {
    normal_edges(y, u, v, ys, uvs, e, true, false);
}
void normal_mb_edge_top(uint8_t* y, uint8_t* u, uint8_t* v, int ys, int uvs,
                        const FilterLevelEntry& e) {
    normal_edges(y, u, v, ys, uvs, e, false, true);
}
void normal_inner_horizontal(uint8_t* y, uint8_t* u, uint8_t* v, int ys, int uvs,
                             const FilterLevelEntry& e) {
    normal_edges(y, u, v, ys, uvs, e, false, false);
}
void normal_vertical_edges(uint8_t* y, uint8_t* u, uint8_t* v, int ys, int uvs,
                           const FilterLevelEntry& e) {
    normal_mb_edge_left(y, u, v, ys, uvs, e);
    normal_inner_vertical(y, u, v, ys, uvs, e);
}
void simple_mb_edge_left(uint8_t* y, uint8_t*, uint8_t*, int ys, int, const FilterLevelEntry& e) {
    simple_edges(y, ys, e, true, true);
}
void simple_inner_vertical(uint8_t* y, uint8_t*, uint8_t*, int ys, int, const FilterLevelEntry& e) {
    simple_edges(y, ys, e, true, false);
}
void simple_mb_edge_top(uint8_t* y, uint8_t*, uint8_t*, int ys, int, const FilterLevelEntry& e) {
    simple_edges(y, ys, e, false, true);
}
void simple_inner_horizontal(uint8_t* y, uint8_t*, uint8_t*, int ys, int,
                             const FilterLevelEntry& e) {
    simple_edges(y, ys, e, false, false);
}
void simple_vertical_edges(uint8_t* y, uint8_t* u, uint8_t* v, int ys, int uvs,
                           const FilterLevelEntry& e) {
    simple_mb_edge_left(y, u, v, ys, uvs, e);
    simple_inner_vertical(y, u, v, ys, uvs, e);
}

}  // namespace vp8::plain
