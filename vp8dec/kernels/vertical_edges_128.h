// All the vertical edges of a macroblock in one pass, with 128-bit registers:
// the left macroblock edge and then the inner edges, filtered one after the
// other on columns transposed once. Each edge's q0..q3 are the next edge's
// p3..p0, already in registers, so a column enters and leaves the registers
// once, where the edge-by-edge kernels transpose eight columns per edge.
// Shared by the SSE2 and AVX2 variants like loop_filter_128.h.
#pragma once

#include "vp8dec/kernels/loop_filter_128.h"

namespace vp8 {
namespace {

// One round of a transpose: each register interleaved, B bits at a time,
// with the one eight further on.
template <int B>
inline void interleave_round(__m128i x[16]) {
    __m128i y[16];
    for (int i = 0; i < 8; ++i) {
        y[2 * i] = Ops128::unpack_low<B>(x[i], x[i + 8]);
        y[2 * i + 1] = Ops128::unpack_high<B>(x[i], x[i + 8]);
    }
    for (int i = 0; i < 16; ++i) x[i] = y[i];
}

// Sixteen registers of sixteen bytes transposed in place: afterwards m[k]
// holds byte k of every register, lane l from m[l]. A transpose is its own
// inverse.
inline void transpose_16x16(__m128i m[16]) {
    __m128i x[16];
    for (int i = 0; i < 16; ++i) x[i] = m[kBitReversed[i]];
    interleave_round<8>(x);
    interleave_round<16>(x);
    interleave_round<32>(x);
    interleave_round<64>(x);
    for (int i = 0; i < 16; ++i) m[i] = x[i];
}

// The inverse of load_four_columns.
inline void store_four_columns(const __m128i columns[4], uint8_t* top, uint8_t* bottom,
                               int stride) {
    const __m128i e0 = _mm_unpacklo_epi8(columns[0], columns[1]);
    const __m128i e1 = _mm_unpackhi_epi8(columns[0], columns[1]);
    const __m128i f0 = _mm_unpacklo_epi8(columns[2], columns[3]);
    const __m128i f1 = _mm_unpackhi_epi8(columns[2], columns[3]);
    // Four lines of four samples each, lines 0..3, 4..7, 8..11 and 12..15.
    const __m128i quads[4] = {_mm_unpacklo_epi16(e0, f0), _mm_unpackhi_epi16(e0, f0),
                              _mm_unpacklo_epi16(e1, f1), _mm_unpackhi_epi16(e1, f1)};
    for (int q = 0; q < 4; ++q) {
        uint8_t* first = q < 2 ? top + 4 * q * stride : bottom + 4 * (q - 2) * stride;
        const auto low = static_cast<uint64_t>(_mm_cvtsi128_si64(quads[q]));
        const auto high =
            static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(quads[q], quads[q])));
        const uint32_t lines[4] = {static_cast<uint32_t>(low), static_cast<uint32_t>(low >> 32),
                                   static_cast<uint32_t>(high), static_cast<uint32_t>(high >> 32)};
        for (int k = 0; k < 4; ++k) std::memcpy(first + k * stride, &lines[k], 4);
    }
}

// The eight columns from `first` on as the samples across one edge.
inline Samples128 edge_samples(const __m128i* first) {
    return {first[0], first[1], first[2], first[3], first[4], first[5], first[6], first[7]};
}

inline void put_back(const Samples128& s, __m128i* first) {
    first[0] = s.p3, first[1] = s.p2, first[2] = s.p1, first[3] = s.p0;
    first[4] = s.q0, first[5] = s.q1, first[6] = s.q2, first[7] = s.q3;
}

// The left edge (between columns -1 and 0) and then the inner edges at 4, 8
// and 12 of columns -4..15, held in columns[0..19].
inline void filter_luma_columns(__m128i columns[20], const FilterLevelEntry& e) {
    Samples128 s = edge_samples(columns);
    loop_filter_math::mb_edge_filter<Ops128>(s, luma_limits(e, true));
    put_back(s, columns);
    const Limits128 inner = luma_limits(e, false);
    for (int first = 4; first <= 12; first += 4) {
        s = edge_samples(columns + first);
        loop_filter_math::inner_edge_filter<Ops128>(s, inner);
        put_back(s, columns + first);
    }
}

inline void luma_vertical_edges(uint8_t* y, int stride, const FilterLevelEntry& e) {
    __m128i columns[20];
    uint8_t* const left = y - 4;
    for (int r = 0; r < 16; ++r) columns[r] = load_16(left + r * stride);
    transpose_16x16(columns);
    load_four_columns(y + 12, y + 12 + 8 * stride, stride, columns + 16);
    filter_luma_columns(columns, e);
    store_four_columns(columns + 16, y + 12, y + 12 + 8 * stride, stride);
    transpose_16x16(columns);
    for (int r = 0; r < 16; ++r) store_16(left + r * stride, columns[r]);
}

// The eight U lines beside the eight V lines: the left edge on columns -4..3,
// then the inner edge at 4 on columns 0..7.
inline void chroma_vertical_edges(uint8_t* u, uint8_t* v, int stride, const FilterLevelEntry& e) {
    Samples128 s = load_columns(u - 4, v - 4, stride);
    __m128i right[4];
    load_four_columns(u + 4, v + 4, stride, right);
    loop_filter_math::mb_edge_filter<Ops128>(s, chroma_limits(e, true));
    Samples128 t{s.q0, s.q1, s.q2, s.q3, right[0], right[1], right[2], right[3]};
    loop_filter_math::inner_edge_filter<Ops128>(t, chroma_limits(e, false));
    s.q0 = t.p3, s.q1 = t.p2, s.q2 = t.p1, s.q3 = t.p0;
    right[0] = t.q0, right[1] = t.q1, right[2] = t.q2, right[3] = t.q3;
    store_columns(s, u - 4, v - 4, stride);
    store_four_columns(right, u + 4, v + 4, stride);
}

inline void normal_vertical_edges_128(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride,
                                      int uv_stride, const FilterLevelEntry& e) {
    luma_vertical_edges(y, y_stride, e);
    chroma_vertical_edges(u, v, uv_stride, e);
}

}  // namespace
}  // namespace vp8
