// SSE2 inverse transforms and dequantisation.
//
// The first (vertical) pass of each transform keeps only 16 bits of every
// sum, as the plain version does when it stores them, so it runs in 16-bit
// lanes with wrapping arithmetic. The second pass shifts sums that may need
// 18 bits before storing, so it runs in 32-bit lanes; its results fit 16 bits.
#include <emmintrin.h>

#include "vp8dec/kernels/sample_access.h"
#include "vp8dec/kernels/vector_variants.h"

namespace vp8::sse2 {

namespace {

// The 16 values of a 4x4 block, rows 0 and 1 in `top`, rows 2 and 3 in `bottom`.
struct Block {
    __m128i top, bottom;
};

Block load_block(const int16_t* values) {
    return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(values)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + 8))};
}

// (x * 20091 >> 16) + x and x * 35468 >> 16; the second factor does not fit a
// signed 16-bit lane, so it is taken as 35468 - 65536 and x added back.
__m128i mul_cos(__m128i x) {
    return _mm_add_epi16(x, _mm_mulhi_epi16(x, _mm_set1_epi16(20091)));
}
__m128i mul_sin(__m128i x) {
    return _mm_add_epi16(x, _mm_mulhi_epi16(x, _mm_set1_epi16(static_cast<short>(35468 - 65536))));
}

__m128i swap_halves(__m128i v) {
    return _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2));
}

// Rows 0..3 of a block become its columns: top holds columns 0 and 1, bottom 2 and 3.
Block transpose(const Block& b) {
    const __m128i rows02 = _mm_unpacklo_epi16(b.top, b.bottom);
    const __m128i rows13 = _mm_unpackhi_epi16(b.top, b.bottom);
    return {_mm_unpacklo_epi16(rows02, rows13), _mm_unpackhi_epi16(rows02, rows13)};
}

// Sign-extends the low or high four 16-bit lanes to 32 bits.
__m128i widen_low(__m128i v) {
    return _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16);
}
__m128i widen_high(__m128i v) {
    return _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16);
}

// The first pass of the inverse DCT down the columns of rows 0..3; returns the
// intermediate rows, 0 and 1 in top, 2 and 3 in bottom.
Block idct_columns(const Block& in) {
    const __m128i sums = _mm_add_epi16(in.top, in.bottom);         // row 0 + row 2 | 1 + 3
    const __m128i differences = _mm_sub_epi16(in.top, in.bottom);  // row 0 - row 2 | ...
    const __m128i odd = _mm_unpackhi_epi64(in.top, in.bottom);     // row 1 | row 3
    const __m128i sin_odd = mul_sin(odd), cos_odd = mul_cos(odd);
    const __m128i c = _mm_sub_epi16(sin_odd, swap_halves(cos_odd));  // low half
    const __m128i d = _mm_add_epi16(cos_odd, swap_halves(sin_odd));  // low half
    const __m128i ab = _mm_unpacklo_epi64(sums, differences);
    const __m128i dc = _mm_unpacklo_epi64(d, c);
    const __m128i rows01 = _mm_add_epi16(ab, dc);
    const __m128i rows32 = _mm_sub_epi16(ab, dc);
    return {rows01, swap_halves(rows32)};
}

// The cosine and sine products of the four 16-bit values in the high half of
// x16, whose widened copy is x32.
struct Rotation {
    __m128i cos, sin;
};

Rotation rotation(__m128i x16, __m128i x32) {
    const __m128i hc = _mm_mulhi_epi16(x16, _mm_set1_epi16(20091));
    const __m128i hs = _mm_mulhi_epi16(x16, _mm_set1_epi16(static_cast<short>(35468 - 65536)));
    return {_mm_add_epi32(x32, widen_high(hc)), _mm_add_epi32(x32, widen_high(hs))};
}

__m128i round_shift3(__m128i v, __m128i bias) {
    return _mm_srai_epi32(_mm_add_epi32(v, bias), 3);
}

// Four outputs per register (one per row), packed back into rows.
Block rows_from_outputs(__m128i o0, __m128i o1, __m128i o2, __m128i o3) {
    const __m128i p01 = _mm_packs_epi32(o0, o1);
    const __m128i p23 = _mm_packs_epi32(o2, o3);
    const __m128i u = _mm_unpacklo_epi16(p01, p23);
    const __m128i v = _mm_unpackhi_epi16(p01, p23);
    return {_mm_unpacklo_epi16(u, v), _mm_unpackhi_epi16(u, v)};
}

// The second pass along the rows, in 32-bit lanes.
Block idct_rows(const Block& intermediate) {
    const Block columns = transpose(intermediate);  // x0 | x1, x2 | x3
    const __m128i x0 = widen_low(columns.top), x1 = widen_high(columns.top);
    const __m128i x2 = widen_low(columns.bottom), x3 = widen_high(columns.bottom);
    const Rotation r1 = rotation(columns.top, x1);
    const Rotation r3 = rotation(columns.bottom, x3);
    const __m128i a = _mm_add_epi32(x0, x2), b = _mm_sub_epi32(x0, x2);
    const __m128i c = _mm_sub_epi32(r1.sin, r3.cos), d = _mm_add_epi32(r1.cos, r3.sin);
    const __m128i bias = _mm_set1_epi32(4);
    return rows_from_outputs(
        round_shift3(_mm_add_epi32(a, d), bias), round_shift3(_mm_add_epi32(b, c), bias),
        round_shift3(_mm_sub_epi32(b, c), bias), round_shift3(_mm_sub_epi32(a, d), bias));
}

void store_rows(const Block& b, int16_t* out, int pitch) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), b.top);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + pitch), swap_halves(b.top));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 2 * pitch), b.bottom);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * pitch), swap_halves(b.bottom));
}

void inverse_dct(const Block& in, int16_t* out, int pitch) {
    store_rows(idct_rows(idct_columns(in)), out, pitch);
}

Block dequantised(const int16_t* levels, const int16_t* factors) {
    const Block l = load_block(levels), f = load_block(factors);
    return {_mm_mullo_epi16(l.top, f.top), _mm_mullo_epi16(l.bottom, f.bottom)};
}

void clear_levels(int16_t* levels) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(levels), _mm_setzero_si128());
    _mm_storeu_si128(reinterpret_cast<__m128i*>(levels + 8), _mm_setzero_si128());
}

void fill_dc(int16_t value, int16_t* out, int pitch) {
    const __m128i v = _mm_set1_epi16(value);
    for (int r = 0; r < 4; ++r) _mm_storel_epi64(reinterpret_cast<__m128i*>(out + r * pitch), v);
}

// The first pass of the inverse WHT down the columns.
Block wht_columns(const Block& in) {
    const __m128i flipped = swap_halves(in.bottom);              // row 3 | row 2
    const __m128i sums = _mm_add_epi16(in.top, flipped);         // a | b
    const __m128i differences = _mm_sub_epi16(in.top, flipped);  // d | c
    const __m128i ad = _mm_unpacklo_epi64(sums, differences);
    const __m128i bc = _mm_unpackhi_epi64(sums, differences);
    return {_mm_add_epi16(ad, bc), _mm_sub_epi16(ad, bc)};  // rows 0 | 1, rows 2 | 3
}

Block wht_rows(const Block& intermediate) {
    const Block columns = transpose(intermediate);
    const __m128i x0 = widen_low(columns.top), x1 = widen_high(columns.top);
    const __m128i x2 = widen_low(columns.bottom), x3 = widen_high(columns.bottom);
    const __m128i a = _mm_add_epi32(x0, x3), b = _mm_add_epi32(x1, x2);
    const __m128i c = _mm_sub_epi32(x1, x2), d = _mm_sub_epi32(x0, x3);
    const __m128i bias = _mm_set1_epi32(3);
    return rows_from_outputs(
        round_shift3(_mm_add_epi32(a, b), bias), round_shift3(_mm_add_epi32(c, d), bias),
        round_shift3(_mm_sub_epi32(a, b), bias), round_shift3(_mm_sub_epi32(d, c), bias));
}

// Adds two rows of residual values (a register's halves) to two rows of four
// samples; the saturating add and the unsigned pack clamp as the plain sum does.
void add_two_rows(__m128i residual, uint8_t* dst, int stride) {
    const __m128i samples = _mm_unpacklo_epi32(load_4(dst), load_4(dst + stride));
    const __m128i sums = _mm_adds_epi16(_mm_unpacklo_epi8(samples, _mm_setzero_si128()), residual);
    const __m128i packed = _mm_packus_epi16(sums, sums);
    store_4(dst, packed);
    store_4(dst + stride, _mm_srli_si128(packed, 4));
}

}  // namespace

void inverse_dct_dc(int dc, int16_t* out, int pitch) {
    fill_dc(static_cast<int16_t>((static_cast<int16_t>(dc) + 4) >> 3), out, pitch);
}

void inverse_wht_dc(const int16_t* in, int16_t* out) {
    const __m128i v = _mm_set1_epi16(static_cast<int16_t>((in[0] + 3) >> 3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), v);
}

void inverse_wht_4x4(const int16_t* in, int16_t* out) {
    const Block rows = wht_rows(wht_columns(load_block(in)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), rows.top);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), rows.bottom);
}

void scale_block(const int16_t* levels, const int16_t* factors, int16_t* out) {
    const Block values = dequantised(levels, factors);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), values.top);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), values.bottom);
}

void scale_and_inverse_dct(int16_t* levels, const int16_t* factors, int16_t* out, int pitch) {
    inverse_dct(dequantised(levels, factors), out, pitch);
    clear_levels(levels);
}

void scale_and_inverse_dct_with_dc(int16_t* levels, const int16_t* factors, int16_t* out, int pitch,
                                   int dc) {
    Block values = dequantised(levels, factors);
    values.top = _mm_insert_epi16(values.top, static_cast<int16_t>(dc), 0);
    inverse_dct(values, out, pitch);
    clear_levels(levels);
}

void scale_inverse_dct_add(int16_t* levels, const int16_t* factors, int dc, uint8_t* dst,
                           int stride) {
    Block values = dequantised(levels, factors);
    values.top = _mm_insert_epi16(values.top, static_cast<int16_t>(dc), 0);
    const Block rows = idct_rows(idct_columns(values));
    add_two_rows(rows.top, dst, stride);
    add_two_rows(rows.bottom, dst + 2 * stride, stride);
    clear_levels(levels);
}

}  // namespace vp8::sse2
