// SSE2 loop-filter edge operations: sixteen lines across an edge at once, the
// luma lines of a macroblock or its eight U lines beside its eight V lines.
// Vertical edges are transposed so that each register holds one column.
#include <emmintrin.h>

#include <cstring>

#include "vp8dec/kernels/loop_filter_math.h"
#include "vp8dec/kernels/vector_variants.h"

namespace vp8::sse2 {

namespace {

struct Ops {
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
    static Reg weighted_s8(Reg w, int factor) {
        const Reg f = _mm_set1_epi16(static_cast<short>(factor));
        const Reg round = _mm_set1_epi16(63);
        const Reg lo = _mm_srai_epi16(_mm_unpacklo_epi8(w, w), 8);
        const Reg hi = _mm_srai_epi16(_mm_unpackhi_epi8(w, w), 8);
        return _mm_packs_epi16(_mm_srai_epi16(_mm_add_epi16(_mm_mullo_epi16(lo, f), round), 7),
                               _mm_srai_epi16(_mm_add_epi16(_mm_mullo_epi16(hi, f), round), 7));
    }
};

using Samples = loop_filter_math::Samples<Ops>;
using Limits = loop_filter_math::Limits<Ops>;

Limits luma_limits(const FilterLevelEntry& e, bool macroblock_edge) {
    const int level = macroblock_edge ? e.mb_edge_level[0] : e.subblock_edge_level[0];
    const int hev = macroblock_edge ? e.mb_hev_threshold[0] : e.hev_threshold[0];
    return {Ops::splat(2 * level + e.interior_limit[0]), Ops::splat(e.interior_limit[0]),
            Ops::splat(hev)};
}

Limits chroma_limits(const FilterLevelEntry& e, bool macroblock_edge) {
    const int level = macroblock_edge ? e.uv_mb_edge_level[0] : e.uv_subblock_edge_level[0];
    const int hev = macroblock_edge ? e.uv_mb_hev_threshold[0] : e.uv_hev_threshold[0];
    return {Ops::splat(2 * level + e.uv_interior_limit[0]), Ops::splat(e.uv_interior_limit[0]),
            Ops::splat(hev)};
}

__m128i load8(const uint8_t* p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}
void store8(uint8_t* p, __m128i v) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
}
__m128i load16(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
void store16(uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// The sixteen lines across a horizontal edge: either one luma row of sixteen
// samples per offset, or eight U samples followed by eight V samples.
class RowLines {
  public:
    RowLines(uint8_t* q0, int stride) : u_(q0), v_(nullptr), stride_(stride) {}
    RowLines(uint8_t* u_q0, uint8_t* v_q0, int stride) : u_(u_q0), v_(v_q0), stride_(stride) {}

    __m128i load(int offset) const {
        if (!v_) return load16(u_ + offset * stride_);
        return _mm_unpacklo_epi64(load8(u_ + offset * stride_), load8(v_ + offset * stride_));
    }
    void store(int offset, __m128i value) const {
        if (!v_) return store16(u_ + offset * stride_, value);
        store8(u_ + offset * stride_, value);
        store8(v_ + offset * stride_, _mm_unpackhi_epi64(value, value));
    }

  private:
    uint8_t* u_;
    uint8_t* v_;
    int stride_;
};

Samples load_rows(const RowLines& rows) {
    return {rows.load(-4), rows.load(-3), rows.load(-2), rows.load(-1),
            rows.load(0),  rows.load(1),  rows.load(2),  rows.load(3)};
}

// Sixteen lines of eight samples p3..q3 across a vertical edge: eight rows
// from `top` then eight from `bottom`, each pointer at the p3 of its first row.
Samples load_columns(const uint8_t* top, const uint8_t* bottom, int stride) {
    __m128i a[8];
    for (int k = 0; k < 4; ++k) {
        a[k] = _mm_unpacklo_epi8(load8(top + 2 * k * stride), load8(top + (2 * k + 1) * stride));
        a[4 + k] =
            _mm_unpacklo_epi8(load8(bottom + 2 * k * stride), load8(bottom + (2 * k + 1) * stride));
    }
    // Four lines of four columns, then eight lines of two columns, then sixteen of one.
    __m128i b[8];
    for (int k = 0; k < 4; ++k) {
        b[2 * k] = _mm_unpacklo_epi16(a[2 * k], a[2 * k + 1]);
        b[2 * k + 1] = _mm_unpackhi_epi16(a[2 * k], a[2 * k + 1]);
    }
    const __m128i c0 = _mm_unpacklo_epi32(b[0], b[2]), c1 = _mm_unpackhi_epi32(b[0], b[2]);
    const __m128i c2 = _mm_unpacklo_epi32(b[1], b[3]), c3 = _mm_unpackhi_epi32(b[1], b[3]);
    const __m128i d0 = _mm_unpacklo_epi32(b[4], b[6]), d1 = _mm_unpackhi_epi32(b[4], b[6]);
    const __m128i d2 = _mm_unpacklo_epi32(b[5], b[7]), d3 = _mm_unpackhi_epi32(b[5], b[7]);
    return {_mm_unpacklo_epi64(c0, d0), _mm_unpackhi_epi64(c0, d0), _mm_unpacklo_epi64(c1, d1),
            _mm_unpackhi_epi64(c1, d1), _mm_unpacklo_epi64(c2, d2), _mm_unpackhi_epi64(c2, d2),
            _mm_unpacklo_epi64(c3, d3), _mm_unpackhi_epi64(c3, d3)};
}

// The inverse of load_columns.
void store_columns(const Samples& s, uint8_t* top, uint8_t* bottom, int stride) {
    const __m128i e0 = _mm_unpacklo_epi8(s.p3, s.p2), e1 = _mm_unpackhi_epi8(s.p3, s.p2);
    const __m128i e2 = _mm_unpacklo_epi8(s.p1, s.p0), e3 = _mm_unpackhi_epi8(s.p1, s.p0);
    const __m128i e4 = _mm_unpacklo_epi8(s.q0, s.q1), e5 = _mm_unpackhi_epi8(s.q0, s.q1);
    const __m128i e6 = _mm_unpacklo_epi8(s.q2, s.q3), e7 = _mm_unpackhi_epi8(s.q2, s.q3);
    const __m128i f[8] = {_mm_unpacklo_epi16(e0, e2), _mm_unpackhi_epi16(e0, e2),
                          _mm_unpacklo_epi16(e4, e6), _mm_unpackhi_epi16(e4, e6),
                          _mm_unpacklo_epi16(e1, e3), _mm_unpackhi_epi16(e1, e3),
                          _mm_unpacklo_epi16(e5, e7), _mm_unpackhi_epi16(e5, e7)};
    // Each register now holds two whole lines.
    const __m128i g[8] = {_mm_unpacklo_epi32(f[0], f[2]), _mm_unpackhi_epi32(f[0], f[2]),
                          _mm_unpacklo_epi32(f[1], f[3]), _mm_unpackhi_epi32(f[1], f[3]),
                          _mm_unpacklo_epi32(f[4], f[6]), _mm_unpackhi_epi32(f[4], f[6]),
                          _mm_unpacklo_epi32(f[5], f[7]), _mm_unpackhi_epi32(f[5], f[7])};
    for (int k = 0; k < 4; ++k) {
        store8(top + 2 * k * stride, g[k]);
        store8(top + (2 * k + 1) * stride, _mm_unpackhi_epi64(g[k], g[k]));
        store8(bottom + 2 * k * stride, g[4 + k]);
        store8(bottom + (2 * k + 1) * stride, _mm_unpackhi_epi64(g[4 + k], g[4 + k]));
    }
}

uint32_t load4(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Sixteen lines of the four samples p1 p0 q0 q1 across a vertical edge (all
// the simple filter reads), each pointer at the p1 of its first row.
Samples load_inner_columns(const uint8_t* top, const uint8_t* bottom, int stride) {
    auto four_lines = [stride](const uint8_t* p) {
        return _mm_setr_epi32(static_cast<int>(load4(p)), static_cast<int>(load4(p + stride)),
                              static_cast<int>(load4(p + 2 * stride)),
                              static_cast<int>(load4(p + 3 * stride)));
    };
    // Two columns of eight lines per register after three rounds of interleaving.
    auto columns = [](__m128i x0, __m128i x1, __m128i& c01, __m128i& c23) {
        const __m128i u0 = _mm_unpacklo_epi8(x0, x1), u1 = _mm_unpackhi_epi8(x0, x1);
        const __m128i v0 = _mm_unpacklo_epi8(u0, u1), v1 = _mm_unpackhi_epi8(u0, u1);
        c01 = _mm_unpacklo_epi8(v0, v1);
        c23 = _mm_unpackhi_epi8(v0, v1);
    };
    __m128i top01, top23, bottom01, bottom23;
    columns(four_lines(top), four_lines(top + 4 * stride), top01, top23);
    columns(four_lines(bottom), four_lines(bottom + 4 * stride), bottom01, bottom23);
    Samples s{};
    s.p1 = _mm_unpacklo_epi64(top01, bottom01);
    s.p0 = _mm_unpackhi_epi64(top01, bottom01);
    s.q0 = _mm_unpacklo_epi64(top23, bottom23);
    s.q1 = _mm_unpackhi_epi64(top23, bottom23);
    return s;
}

// Writes back p0 and q0 only, each pointer at the p0 of its first row.
void store_inner_columns(const Samples& s, uint8_t* top, uint8_t* bottom, int stride) {
    const __m128i top_pairs = _mm_unpacklo_epi8(s.p0, s.q0);
    const __m128i bottom_pairs = _mm_unpackhi_epi8(s.p0, s.q0);
    auto store_pairs = [stride](uint8_t* p, __m128i pairs) {
        for (int k = 0; k < 4; ++k, pairs = _mm_srli_si128(pairs, 4)) {
            const auto two = static_cast<uint32_t>(_mm_cvtsi128_si32(pairs));
            const auto first = static_cast<uint16_t>(two),
                       second = static_cast<uint16_t>(two >> 16);
            std::memcpy(p + 2 * k * stride, &first, 2);
            std::memcpy(p + (2 * k + 1) * stride, &second, 2);
        }
    };
    store_pairs(top, top_pairs);
    store_pairs(bottom, bottom_pairs);
}

// One edge of each kind, on sixteen lines.

void mb_edge_rows(const RowLines& rows, const Limits& limits) {
    Samples s = load_rows(rows);
    loop_filter_math::mb_edge_filter<Ops>(s, limits);
    rows.store(-3, s.p2);
    rows.store(-2, s.p1);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
    rows.store(1, s.q1);
    rows.store(2, s.q2);
}

void inner_edge_rows(const RowLines& rows, const Limits& limits) {
    Samples s = load_rows(rows);
    loop_filter_math::inner_edge_filter<Ops>(s, limits);
    rows.store(-2, s.p1);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
    rows.store(1, s.q1);
}

void simple_edge_rows(uint8_t* q0, int stride, __m128i edge) {
    const RowLines rows(q0, stride);
    Samples s{};
    s.p1 = rows.load(-2);
    s.p0 = rows.load(-1);
    s.q0 = rows.load(0);
    s.q1 = rows.load(1);
    loop_filter_math::simple_filter<Ops>(s, edge);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
}

// `top` and `bottom` point at the q0 of the first row of each group of eight lines.
void mb_edge_columns(uint8_t* top, uint8_t* bottom, int stride, const Limits& limits) {
    Samples s = load_columns(top - 4, bottom - 4, stride);
    loop_filter_math::mb_edge_filter<Ops>(s, limits);
    store_columns(s, top - 4, bottom - 4, stride);
}

void inner_edge_columns(uint8_t* top, uint8_t* bottom, int stride, const Limits& limits) {
    Samples s = load_columns(top - 4, bottom - 4, stride);
    loop_filter_math::inner_edge_filter<Ops>(s, limits);
    store_columns(s, top - 4, bottom - 4, stride);
}

void simple_edge_columns(uint8_t* q0, int stride, __m128i edge) {
    uint8_t* bottom = q0 + 8 * stride;
    Samples s = load_inner_columns(q0 - 2, bottom - 2, stride);
    loop_filter_math::simple_filter<Ops>(s, edge);
    store_inner_columns(s, q0 - 1, bottom - 1, stride);
}

__m128i simple_edge_limit(const FilterLevelEntry& e, bool macroblock_edge) {
    const int level = macroblock_edge ? e.mb_edge_level[0] : e.subblock_edge_level[0];
    return Ops::splat(2 * level + e.interior_limit[0]);
}

}  // namespace

void normal_mb_edge_left(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                         const FilterLevelEntry& e) {
    mb_edge_columns(y, y + 8 * y_stride, y_stride, luma_limits(e, true));
    mb_edge_columns(u, v, uv_stride, chroma_limits(e, true));
}

void normal_inner_vertical(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e) {
    const Limits luma = luma_limits(e, false);
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
    const Limits luma = luma_limits(e, false);
    for (int at = 4; at < 16; at += 4) inner_edge_rows(RowLines(y + at * y_stride, y_stride), luma);
    inner_edge_rows(RowLines(u + 4 * uv_stride, v + 4 * uv_stride, uv_stride),
                    chroma_limits(e, false));
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

}  // namespace vp8::sse2
