// The row conversion sixteen pixels at a time: the same 32-bit products and
// sums as the plain version, shifted and clamped lane by lane.
#include <immintrin.h>

#include "display/yuv_row.h"
#include "display/yuv_to_rgb.h"

namespace tavimor {

namespace {

struct Factors {
    __m256i y, u, v;
};

// Eight pixels whose chroma terms are already spread one per pixel.
__m256i eight_pixels(__m128i luma8, __m256i red_v, __m256i green_uv, __m256i blue_u,
                     const Factors& factors) {
    const __m256i luma = _mm256_sub_epi32(_mm256_cvtepu8_epi32(luma8), _mm256_set1_epi32(16));
    const __m256i y = _mm256_mullo_epi32(luma, factors.y);
    const __m256i zero = _mm256_setzero_si256(), top = _mm256_set1_epi32(255);
    const auto channel = [&](__m256i sum) {
        return _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(sum, 20), zero), top);
    };
    const __m256i red = channel(_mm256_add_epi32(y, red_v));
    const __m256i green = channel(_mm256_add_epi32(y, green_uv));
    const __m256i blue = channel(_mm256_add_epi32(y, blue_u));
    return _mm256_or_si256(
        blue, _mm256_or_si256(_mm256_slli_epi32(green, 8), _mm256_slli_epi32(red, 16)));
}

}  // namespace

void yuv_row_avx2(const YuvRow& row, uint8_t* out) {
    const Factors factors{_mm256_set1_epi32((row.component_mask & kComponentY) ? 1225732 : 0),
                          _mm256_set1_epi32((row.component_mask & kComponentU) ? 1170 : 0),
                          _mm256_set1_epi32((row.component_mask & kComponentV) ? 1170 : 0)};
    const __m256i first_half = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    const __m256i second_half = _mm256_setr_epi32(4, 4, 5, 5, 6, 6, 7, 7);
    const __m256i neutral = _mm256_set1_epi32(128);
    // Sixteen pixels while their eight chroma samples lie inside the row.
    // (No library templates here: a copy built for AVX2 could be linked in
    // for everyone.)
    const int reach = row.width < 2 * row.chroma_width ? row.width : 2 * row.chroma_width;
    const int vector_width = reach & ~15;
    int x = 0;
    for (; x < vector_width; x += 16) {
        const __m128i chroma_u = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row.u + x / 2));
        const __m128i chroma_v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row.v + x / 2));
        const __m256i u = _mm256_mullo_epi32(
            _mm256_sub_epi32(_mm256_cvtepu8_epi32(chroma_u), neutral), factors.u);
        const __m256i v = _mm256_mullo_epi32(
            _mm256_sub_epi32(_mm256_cvtepu8_epi32(chroma_v), neutral), factors.v);
        const __m256i red_v = _mm256_mullo_epi32(v, _mm256_set1_epi32(1436));
        const __m256i green_uv = _mm256_add_epi32(_mm256_mullo_epi32(u, _mm256_set1_epi32(-352)),
                                                  _mm256_mullo_epi32(v, _mm256_set1_epi32(-731)));
        const __m256i blue_u = _mm256_mullo_epi32(u, _mm256_set1_epi32(1815));
        const __m128i luma = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row.y + x));
        const auto spread = [](__m256i terms, __m256i order) {
            return _mm256_permutevar8x32_epi32(terms, order);
        };
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(out + 4 * x),
            eight_pixels(luma, spread(red_v, first_half), spread(green_uv, first_half),
                         spread(blue_u, first_half), factors));
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(out + 4 * (x + 8)),
            eight_pixels(_mm_srli_si128(luma, 8), spread(red_v, second_half),
                         spread(green_uv, second_half), spread(blue_u, second_half), factors));
    }
    yuv_pixels_plain(row, x, out);  // the rest as the plain version does it
}

}  // namespace tavimor
