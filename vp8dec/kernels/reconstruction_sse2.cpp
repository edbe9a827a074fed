// SSE2 prediction-plus-residual kernels. A sample plus a residual lies within
// -32768..33022; the saturating 16-bit add keeps it on the right side of 0 and
// 255, and the unsigned pack clamps it.
#include <emmintrin.h>

#include "vp8dec/kernels/sample_access.h"
#include "vp8dec/kernels/vector_variants.h"

namespace vp8::sse2 {

namespace {

__m128i load_values(const int16_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

__m128i load_4_values(const int16_t* p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

// Up to eight samples plus eight residual values, clamped and packed.
__m128i add_clamped(__m128i samples, __m128i residual) {
    const __m128i sums = _mm_adds_epi16(_mm_unpacklo_epi8(samples, _mm_setzero_si128()), residual);
    return _mm_packus_epi16(sums, sums);
}

}  // namespace

void add_residual_4x4(const uint8_t* prediction, const int16_t* residual, uint8_t* dst,
                      int stride) {
    for (int r = 0; r < 4; ++r)
        store_4(dst + r * stride,
                add_clamped(load_4(prediction + r * 16), load_4_values(residual + r * 16)));
}

void add_residual_8x4(const uint8_t* prediction, const int16_t* residual, uint8_t* dst,
                      int stride) {
    for (int r = 0; r < 4; ++r)
        store_8(dst + r * stride,
                add_clamped(load_8(prediction + r * 8), load_values(residual + r * 8)));
}

void add_residual_16x4(const uint8_t* prediction, const int16_t* residual, uint8_t* dst,
                       int stride) {
    const __m128i zero = _mm_setzero_si128();
    for (int r = 0; r < 4; ++r) {
        const __m128i samples = load_16(prediction + r * 16);
        const __m128i low =
            _mm_adds_epi16(_mm_unpacklo_epi8(samples, zero), load_values(residual + r * 16));
        const __m128i high =
            _mm_adds_epi16(_mm_unpackhi_epi8(samples, zero), load_values(residual + r * 16 + 8));
        store_16(dst + r * stride, _mm_packus_epi16(low, high));
    }
}

void add_dc_4x4(int dc, uint8_t* dst, int stride) {
    const __m128i value = _mm_set1_epi16(static_cast<int16_t>((static_cast<int16_t>(dc) + 4) >> 3));
    for (int r = 0; r < 4; ++r)
        store_4(dst + r * stride, add_clamped(load_4(dst + r * stride), value));
}

void add_dc_16x4(const int16_t* dc, uint8_t* dst, int stride) {
    // (dc + 4) >> 3 of each block; the rounding addition saturates, which
    // changes only values far past any sample's reach.
    const __m128i values = _mm_srai_epi16(
        _mm_adds_epi16(load_8(reinterpret_cast<const uint8_t*>(dc)), _mm_set1_epi16(4)), 3);
    // Each block's value in its four lanes, split into what it adds and what
    // it takes away, each saturated to 0..255: adding the one and subtracting
    // the other with unsigned saturation clamps the sum to 0..255.
    const __m128i pairs = _mm_unpacklo_epi16(values, values);
    const __m128i first = _mm_unpacklo_epi32(pairs, pairs),
                  second = _mm_unpackhi_epi32(pairs, pairs);
    const __m128i up = _mm_packus_epi16(first, second);
    const __m128i down = _mm_packus_epi16(_mm_sub_epi16(_mm_setzero_si128(), first),
                                          _mm_sub_epi16(_mm_setzero_si128(), second));
    for (int r = 0; r < 4; ++r) {
        uint8_t* row = dst + r * stride;
        store_16(row, _mm_subs_epu8(_mm_adds_epu8(load_16(row), up), down));
    }
}

}  // namespace vp8::sse2
