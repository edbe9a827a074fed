// The 128-bit loop-filter building blocks: the register operations, access to
// sixteen lines across an edge, and single edges. Shared by the SSE2 and AVX2
// variants; everything sits in an unnamed namespace, so each file compiles its
// own copy for its own instruction set.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "vp8dec/kernels/kernel_table.h"
#include "vp8dec/kernels/loop_filter_math.h"
#include "vp8dec/kernels/sample_access.h"

namespace vp8 {
namespace {

struct Ops128 {
    using Reg = __m128i;
    static Reg zero() { return _mm_setzero_si128(); }
    static Reg splat(int v) { return _mm_set1_epi8(static_cast<char>(v)); }
    static Reg bit_and(Reg a, Reg b) { return _mm_and_si128(a, b); }
    static Reg bit_andnot(Reg a, Reg b) { return _mm_andnot_si128(a, b); }
    static Reg bit_or(Reg a, Reg b) { return _mm_or_si128(a, b); }
    static Reg bit_xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
    static Reg subs_u8(Reg a, Reg b) { return _mm_subs_epu8(a, b); }
    static Reg adds_u8(Reg a, Reg b) { return _mm_adds_epu8(a, b); }
    static Reg max_u8(Reg a, Reg b) { return _mm_max_epu8(a, b); }
    static Reg eq_u8(Reg a, Reg b) { return _mm_cmpeq_epi8(a, b); }
    static Reg adds_s8(Reg a, Reg b) { return _mm_adds_epi8(a, b); }
    static Reg subs_s8(Reg a, Reg b) { return _mm_subs_epi8(a, b); }
    // Each lane doubled into a 16-bit lane has the lane as its high byte.
    template <int N>
    static Reg shift_s8(Reg v) {
        const Reg lo = _mm_srai_epi16(_mm_unpacklo_epi8(v, v), 8 + N);
        const Reg hi = _mm_srai_epi16(_mm_unpackhi_epi8(v, v), 8 + N);
        return _mm_packs_epi16(lo, hi);
    }
    static Reg half_u8(Reg v) { return _mm_srli_epi16(_mm_and_si128(v, splat(0xfe)), 1); }
    // (27w + 63) >> 7, (18w + 63) >> 7 and (9w + 63) >> 7 from one widening
    // and one multiply: 9w + 63, then 9w added once and twice more.
    static void weighted_thirds_s8(Reg w, Reg& w27, Reg& w18, Reg& w9) {
        const Reg nine = _mm_set1_epi16(9);
        const Reg round = _mm_set1_epi16(63);
        const Reg lo9 = _mm_mullo_epi16(_mm_srai_epi16(_mm_unpacklo_epi8(w, w), 8), nine);
        const Reg hi9 = _mm_mullo_epi16(_mm_srai_epi16(_mm_unpackhi_epi8(w, w), 8), nine);
        Reg lo = _mm_add_epi16(lo9, round), hi = _mm_add_epi16(hi9, round);
        w9 = _mm_packs_epi16(_mm_srai_epi16(lo, 7), _mm_srai_epi16(hi, 7));
        lo = _mm_add_epi16(lo, lo9), hi = _mm_add_epi16(hi, hi9);
        w18 = _mm_packs_epi16(_mm_srai_epi16(lo, 7), _mm_srai_epi16(hi, 7));
        lo = _mm_add_epi16(lo, lo9), hi = _mm_add_epi16(hi, hi9);
        w27 = _mm_packs_epi16(_mm_srai_epi16(lo, 7), _mm_srai_epi16(hi, 7));
    }
    template <int B>
    static Reg unpack_low(Reg a, Reg b) {
        if constexpr (B == 8) return _mm_unpacklo_epi8(a, b);
        if constexpr (B == 16) return _mm_unpacklo_epi16(a, b);
        if constexpr (B == 32) return _mm_unpacklo_epi32(a, b);
        if constexpr (B == 64) return _mm_unpacklo_epi64(a, b);
    }
    template <int B>
    static Reg unpack_high(Reg a, Reg b) {
        if constexpr (B == 8) return _mm_unpackhi_epi8(a, b);
        if constexpr (B == 16) return _mm_unpackhi_epi16(a, b);
        if constexpr (B == 32) return _mm_unpackhi_epi32(a, b);
        if constexpr (B == 64) return _mm_unpackhi_epi64(a, b);
    }
};

using Samples128 = loop_filter_math::Samples<Ops128>;
using Limits128 = loop_filter_math::Limits<Ops128>;

inline Limits128 luma_limits(const FilterLevelEntry& e, bool macroblock_edge) {
    const int level = macroblock_edge ? e.mb_edge_level : e.subblock_edge_level;
    const int hev = macroblock_edge ? e.mb_hev_threshold : e.hev_threshold;
    return {Ops128::splat(2 * level + e.interior_limit), Ops128::splat(e.interior_limit),
            Ops128::splat(hev)};
}

inline Limits128 chroma_limits(const FilterLevelEntry& e, bool macroblock_edge) {
    const int level = macroblock_edge ? e.uv_mb_edge_level : e.uv_subblock_edge_level;
    const int hev = macroblock_edge ? e.uv_mb_hev_threshold : e.uv_hev_threshold;
    return {Ops128::splat(2 * level + e.uv_interior_limit), Ops128::splat(e.uv_interior_limit),
            Ops128::splat(hev)};
}

inline __m128i simple_edge_limit(const FilterLevelEntry& e, bool macroblock_edge) {
    const int level = macroblock_edge ? e.mb_edge_level : e.subblock_edge_level;
    return Ops128::splat(2 * level + e.interior_limit);
}

// The sixteen lines across a horizontal edge: either one luma row of sixteen
// samples per offset, or eight U samples followed by eight V samples.
class RowLines {
  public:
    RowLines(uint8_t* q0, int stride) : u_(q0), v_(nullptr), stride_(stride) {}
    RowLines(uint8_t* u_q0, uint8_t* v_q0, int stride) : u_(u_q0), v_(v_q0), stride_(stride) {}

    __m128i load(int offset) const {
        if (!v_) return load_16(u_ + offset * stride_);
        return _mm_unpacklo_epi64(load_8(u_ + offset * stride_), load_8(v_ + offset * stride_));
    }
    void store(int offset, __m128i value) const {
        if (!v_) return store_16(u_ + offset * stride_, value);
        store_8(u_ + offset * stride_, value);
        store_8_high(v_ + offset * stride_, value);
    }

  private:
    uint8_t* u_;
    uint8_t* v_;
    int stride_;
};

inline Samples128 load_rows(const RowLines& rows) {
    return {rows.load(-4), rows.load(-3), rows.load(-2), rows.load(-1),
            rows.load(0),  rows.load(1),  rows.load(2),  rows.load(3)};
}

// Sixteen lines of eight samples p3..q3 across a vertical edge: eight rows
// from `top` then eight from `bottom`, each pointer at the p3 of its first row.
inline Samples128 load_columns(const uint8_t* top, const uint8_t* bottom, int stride) {
    __m128i lines[16];
    for (int l = 0; l < 8; ++l) {
        lines[l] = load_8(top + l * stride);
        lines[8 + l] = load_8(bottom + l * stride);
    }
    return loop_filter_math::transpose_lines<Ops128>(lines);
}

// The inverse of load_columns.
inline void store_columns(const Samples128& s, uint8_t* top, uint8_t* bottom, int stride) {
    __m128i pairs[8];
    loop_filter_math::untranspose_lines<Ops128>(s, pairs);
    for (int k = 0; k < 4; ++k) {
        store_8(top + 2 * k * stride, pairs[k]);
        store_8_high(top + (2 * k + 1) * stride, pairs[k]);
        store_8(bottom + 2 * k * stride, pairs[4 + k]);
        store_8_high(bottom + (2 * k + 1) * stride, pairs[4 + k]);
    }
}

// Lines or registers fed to rounds of interleaving in this order (each with
// the one eight further on) come out with lane l holding line l.
constexpr int kBitReversed[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};

// Four columns of sixteen lines, eight from `top` and eight from `bottom`:
// columns[c] holds sample c of every line, lane l from line l.
inline void load_four_columns(const uint8_t* top, const uint8_t* bottom, int stride,
                              __m128i columns[4]) {
    __m128i line[16];
    for (int i = 0; i < 16; ++i) {
        const int l = kBitReversed[i];
        line[i] = load_4(l < 8 ? top + l * stride : bottom + (l - 8) * stride);
    }
    __m128i a[8], b[4];
    for (int j = 0; j < 8; ++j) a[j] = _mm_unpacklo_epi8(line[j], line[j + 8]);
    for (int j = 0; j < 4; ++j) b[j] = _mm_unpacklo_epi16(a[j], a[j + 4]);
    const __m128i c0 = _mm_unpacklo_epi32(b[0], b[2]), c1 = _mm_unpacklo_epi32(b[1], b[3]);
    const __m128i d0 = _mm_unpackhi_epi32(b[0], b[2]), d1 = _mm_unpackhi_epi32(b[1], b[3]);
    columns[0] = _mm_unpacklo_epi64(c0, c1);
    columns[1] = _mm_unpackhi_epi64(c0, c1);
    columns[2] = _mm_unpacklo_epi64(d0, d1);
    columns[3] = _mm_unpackhi_epi64(d0, d1);
}

// Sixteen lines of the four samples p1 p0 q0 q1 across a vertical edge (all
// the simple filter reads), each pointer at the p1 of its first row.
inline Samples128 load_inner_columns(const uint8_t* top, const uint8_t* bottom, int stride) {
    __m128i columns[4];
    load_four_columns(top, bottom, stride, columns);
    Samples128 s{};
    s.p1 = columns[0];
    s.p0 = columns[1];
    s.q0 = columns[2];
    s.q1 = columns[3];
    return s;
}

// Writes back p0 and q0 only, each pointer at the p0 of its first row.
inline void store_inner_columns(const Samples128& s, uint8_t* top, uint8_t* bottom, int stride) {
    auto store_pairs = [stride](uint8_t* p, __m128i pairs) {
        for (int k = 0; k < 4; ++k, pairs = _mm_srli_si128(pairs, 4)) {
            const auto two = static_cast<uint32_t>(_mm_cvtsi128_si32(pairs));
            const auto first = static_cast<uint16_t>(two);
            const auto second = static_cast<uint16_t>(two >> 16);
            std::memcpy(p + 2 * k * stride, &first, 2);
            std::memcpy(p + (2 * k + 1) * stride, &second, 2);
        }
    };
    store_pairs(top, _mm_unpacklo_epi8(s.p0, s.q0));
    store_pairs(bottom, _mm_unpackhi_epi8(s.p0, s.q0));
}

// One edge of each kind, on sixteen lines.

inline void mb_edge_rows(const RowLines& rows, const Limits128& limits) {
    Samples128 s = load_rows(rows);
    loop_filter_math::mb_edge_filter<Ops128>(s, limits);
    rows.store(-3, s.p2);
    rows.store(-2, s.p1);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
    rows.store(1, s.q1);
    rows.store(2, s.q2);
}

inline void inner_edge_rows(const RowLines& rows, const Limits128& limits) {
    Samples128 s = load_rows(rows);
    loop_filter_math::inner_edge_filter<Ops128>(s, limits);
    rows.store(-2, s.p1);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
    rows.store(1, s.q1);
}

inline void simple_edge_rows(uint8_t* q0, int stride, __m128i edge) {
    const RowLines rows(q0, stride);
    Samples128 s{};
    s.p1 = rows.load(-2);
    s.p0 = rows.load(-1);
    s.q0 = rows.load(0);
    s.q1 = rows.load(1);
    loop_filter_math::simple_filter<Ops128>(s, edge);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
}

// `top` and `bottom` point at the q0 of the first row of each group of eight lines.
inline void mb_edge_columns(uint8_t* top, uint8_t* bottom, int stride, const Limits128& limits) {
    Samples128 s = load_columns(top - 4, bottom - 4, stride);
    loop_filter_math::mb_edge_filter<Ops128>(s, limits);
    store_columns(s, top - 4, bottom - 4, stride);
}

inline void inner_edge_columns(uint8_t* top, uint8_t* bottom, int stride, const Limits128& limits) {
    Samples128 s = load_columns(top - 4, bottom - 4, stride);
    loop_filter_math::inner_edge_filter<Ops128>(s, limits);
    store_columns(s, top - 4, bottom - 4, stride);
}

inline void simple_edge_columns(uint8_t* q0, int stride, __m128i edge) {
    uint8_t* bottom = q0 + 8 * stride;
    Samples128 s = load_inner_columns(q0 - 2, bottom - 2, stride);
    loop_filter_math::simple_filter<Ops128>(s, edge);
    store_inner_columns(s, q0 - 1, bottom - 1, stride);
}

}  // namespace
}  // namespace vp8
