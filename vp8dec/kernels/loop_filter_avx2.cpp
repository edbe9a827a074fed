// AVX2 normal loop-filter edge operations: a macroblock's sixteen luma lines
// in the low half of each register and its eight U and eight V lines in the
// high half, so that one pass filters an edge in all three planes. The inner
// luma edges at 8 and 12 have no chroma twin and take the 128-bit path. The
// simple filter works on luma alone and keeps its SSE2 variant.
#include <immintrin.h>

#include "vp8dec/kernels/loop_filter_128.h"
#include "vp8dec/kernels/vector_variants.h"
#include "vp8dec/kernels/vertical_edges_128.h"

namespace vp8::avx2 {

namespace {

struct Ops256 {
    using Reg = __m256i;
    static Reg zero() { return _mm256_setzero_si256(); }
    static Reg splat(int v) { return _mm256_set1_epi8(static_cast<char>(v)); }
    static Reg bit_and(Reg a, Reg b) { return _mm256_and_si256(a, b); }
    static Reg bit_andnot(Reg a, Reg b) { return _mm256_andnot_si256(a, b); }
    static Reg bit_or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    static Reg bit_xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
    static Reg subs_u8(Reg a, Reg b) { return _mm256_subs_epu8(a, b); }
    static Reg adds_u8(Reg a, Reg b) { return _mm256_adds_epu8(a, b); }
    static Reg max_u8(Reg a, Reg b) { return _mm256_max_epu8(a, b); }
    static Reg eq_u8(Reg a, Reg b) { return _mm256_cmpeq_epi8(a, b); }
    static Reg adds_s8(Reg a, Reg b) { return _mm256_adds_epi8(a, b); }
    static Reg subs_s8(Reg a, Reg b) { return _mm256_subs_epi8(a, b); }
    // Unpacking and packing both work within each 128-bit lane, so the lanes
    // come back in their places.
    template <int N>
    static Reg shift_s8(Reg v) {
        const Reg lo = _mm256_srai_epi16(_mm256_unpacklo_epi8(v, v), 8 + N);
        const Reg hi = _mm256_srai_epi16(_mm256_unpackhi_epi8(v, v), 8 + N);
        return _mm256_packs_epi16(lo, hi);
    }
    static Reg half_u8(Reg v) { return _mm256_srli_epi16(_mm256_and_si256(v, splat(0xfe)), 1); }
    static void weighted_thirds_s8(Reg w, Reg& w27, Reg& w18, Reg& w9) {
        const Reg nine = _mm256_set1_epi16(9);
        const Reg round = _mm256_set1_epi16(63);
        const Reg lo9 = _mm256_mullo_epi16(_mm256_srai_epi16(_mm256_unpacklo_epi8(w, w), 8), nine);
        const Reg hi9 = _mm256_mullo_epi16(_mm256_srai_epi16(_mm256_unpackhi_epi8(w, w), 8), nine);
        Reg lo = _mm256_add_epi16(lo9, round), hi = _mm256_add_epi16(hi9, round);
        w9 = _mm256_packs_epi16(_mm256_srai_epi16(lo, 7), _mm256_srai_epi16(hi, 7));
        lo = _mm256_add_epi16(lo, lo9), hi = _mm256_add_epi16(hi, hi9);
        w18 = _mm256_packs_epi16(_mm256_srai_epi16(lo, 7), _mm256_srai_epi16(hi, 7));
        lo = _mm256_add_epi16(lo, lo9), hi = _mm256_add_epi16(hi, hi9);
        w27 = _mm256_packs_epi16(_mm256_srai_epi16(lo, 7), _mm256_srai_epi16(hi, 7));
    }
    template <int B>
    static Reg unpack_low(Reg a, Reg b) {
        if constexpr (B == 8) return _mm256_unpacklo_epi8(a, b);
        if constexpr (B == 16) return _mm256_unpacklo_epi16(a, b);
        if constexpr (B == 32) return _mm256_unpacklo_epi32(a, b);
        if constexpr (B == 64) return _mm256_unpacklo_epi64(a, b);
    }
    template <int B>
    static Reg unpack_high(Reg a, Reg b) {
        if constexpr (B == 8) return _mm256_unpackhi_epi8(a, b);
        if constexpr (B == 16) return _mm256_unpackhi_epi16(a, b);
        if constexpr (B == 32) return _mm256_unpackhi_epi32(a, b);
        if constexpr (B == 64) return _mm256_unpackhi_epi64(a, b);
    }
};

using Samples256 = loop_filter_math::Samples<Ops256>;
using Limits256 = loop_filter_math::Limits<Ops256>;

__m256i join(__m128i luma, __m128i chroma) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(luma), chroma, 1);
}
__m128i luma_half(__m256i v) {
    return _mm256_castsi256_si128(v);
}
__m128i chroma_half(__m256i v) {
    return _mm256_extracti128_si256(v, 1);
}

Limits256 joined_limits(const FilterLevelEntry& e, bool macroblock_edge) {
    const Limits128 luma = luma_limits(e, macroblock_edge);
    const Limits128 chroma = chroma_limits(e, macroblock_edge);
    return {join(luma.edge, chroma.edge), join(luma.interior, chroma.interior),
            join(luma.hev_threshold, chroma.hev_threshold)};
}

// The lines across a horizontal edge in all three planes.
class JoinedRows {
  public:
    JoinedRows(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride)
        : luma_(y, y_stride), chroma_(u, v, uv_stride) {}

    __m256i load(int offset) const { return join(luma_.load(offset), chroma_.load(offset)); }
    void store(int offset, __m256i value) const {
        luma_.store(offset, luma_half(value));
        chroma_.store(offset, chroma_half(value));
    }

  private:
    RowLines luma_, chroma_;
};

Samples256 load_rows(const JoinedRows& rows) {
    return {rows.load(-4), rows.load(-3), rows.load(-2), rows.load(-1),
            rows.load(0),  rows.load(1),  rows.load(2),  rows.load(3)};
}

// The lines across a vertical edge in all three planes; each pointer is at
// the p3 of its first row.
class JoinedColumns {
  public:
    JoinedColumns(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride)
        : y_(y), u_(u), v_(v), y_stride_(y_stride), uv_stride_(uv_stride) {}

    Samples256 load() const {
        __m256i lines[16];
        for (int l = 0; l < 16; ++l) lines[l] = join(load_8(luma(l)), load_8(chroma(l)));
        return loop_filter_math::transpose_lines<Ops256>(lines);
    }

    void store(const Samples256& s) const {
        __m256i pairs[8];
        loop_filter_math::untranspose_lines<Ops256>(s, pairs);
        for (int k = 0; k < 8; ++k) {
            const __m128i luma_pair = luma_half(pairs[k]), chroma_pair = chroma_half(pairs[k]);
            store_8(luma(2 * k), luma_pair);
            store_8_high(luma(2 * k + 1), luma_pair);
            store_8(chroma(2 * k), chroma_pair);
            store_8_high(chroma(2 * k + 1), chroma_pair);
        }
    }

  private:
    uint8_t* luma(int line) const { return y_ + line * y_stride_; }
    uint8_t* chroma(int line) const {
        return line < 8 ? u_ + line * uv_stride_ : v_ + (line - 8) * uv_stride_;
    }

    uint8_t* y_;
    uint8_t* u_;
    uint8_t* v_;
    int y_stride_, uv_stride_;
};

}  // namespace

void normal_mb_edge_left(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                         const FilterLevelEntry& e) {
    const JoinedColumns columns(y - 4, u - 4, v - 4, y_stride, uv_stride);
    Samples256 s = columns.load();
    loop_filter_math::mb_edge_filter<Ops256>(s, joined_limits(e, true));
    columns.store(s);
}

void normal_inner_vertical(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e) {
    const JoinedColumns columns(y, u, v, y_stride, uv_stride);  // edge at 4: p3 at 0
    Samples256 s = columns.load();
    loop_filter_math::inner_edge_filter<Ops256>(s, joined_limits(e, false));
    columns.store(s);
    const Limits128 luma = luma_limits(e, false);
    for (int at = 8; at < 16; at += 4)
        inner_edge_columns(y + at, y + 8 * y_stride + at, y_stride, luma);
}

// Both kinds of vertical edge at once, luma and chroma apart: fewer
// transposes than the joined edge-by-edge pair above.
void normal_vertical_edges(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                           const FilterLevelEntry& e) {
    normal_vertical_edges_128(y, u, v, y_stride, uv_stride, e);
}

void normal_mb_edge_top(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                        const FilterLevelEntry& e) {
    const JoinedRows rows(y, u, v, y_stride, uv_stride);
    Samples256 s = load_rows(rows);
    loop_filter_math::mb_edge_filter<Ops256>(s, joined_limits(e, true));
    rows.store(-3, s.p2);
    rows.store(-2, s.p1);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
    rows.store(1, s.q1);
    rows.store(2, s.q2);
}

void normal_inner_horizontal(uint8_t* y, uint8_t* u, uint8_t* v, int y_stride, int uv_stride,
                             const FilterLevelEntry& e) {
    const JoinedRows rows(y + 4 * y_stride, u + 4 * uv_stride, v + 4 * uv_stride, y_stride,
                          uv_stride);
    Samples256 s = load_rows(rows);
    loop_filter_math::inner_edge_filter<Ops256>(s, joined_limits(e, false));
    rows.store(-2, s.p1);
    rows.store(-1, s.p0);
    rows.store(0, s.q0);
    rows.store(1, s.q1);
    const Limits128 luma = luma_limits(e, false);
    for (int at = 8; at < 16; at += 4) inner_edge_rows(RowLines(y + at * y_stride, y_stride), luma);
}

}  // namespace vp8::avx2
