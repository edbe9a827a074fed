// SSE2 six-tap and bilinear sub-pixel predictors, in 16-bit lanes.
//
// Six-tap sums can exceed 16 bits (up to 160 * 255), so they are built with
// saturation in an order that keeps the result exact: the two negative taps
// (positions 1 and 4 of every filter) first, then the non-negative ones. The
// running sum stays above -32768, and once it saturates at 32767 the true sum
// is at least that large, which rounds and clamps to 255 either way.
#include <emmintrin.h>

#include "vp8dec/kernels/sample_access.h"
#include "vp8dec/kernels/vector_variants.h"
#include "vp8dec/tables.h"

namespace vp8::sse2 {

namespace {

struct SixTaps {
    __m128i tap[6];
};

SixTaps six_taps(int frac) {
    SixTaps t;
    for (int k = 0; k < 6; ++k) t.tap[k] = _mm_set1_epi16(kSixTapFilters[frac][k]);
    return t;
}

// Filters eight 16-bit lanes: x[k] holds the samples under tap k.
__m128i six_tap_lanes(const __m128i x[6], const SixTaps& t) {
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(x[1], t.tap[1]), _mm_mullo_epi16(x[4], t.tap[4]));
    sum = _mm_adds_epi16(sum, _mm_mullo_epi16(x[0], t.tap[0]));
    sum = _mm_adds_epi16(sum, _mm_mullo_epi16(x[2], t.tap[2]));
    sum = _mm_adds_epi16(sum, _mm_mullo_epi16(x[3], t.tap[3]));
    sum = _mm_adds_epi16(sum, _mm_mullo_epi16(x[5], t.tap[5]));
    return _mm_srai_epi16(_mm_adds_epi16(sum, _mm_set1_epi16(64)), 7);
}

// W filtered samples from six sample vectors of W samples each (W = 4, 8, 16),
// clamped to 0..255.
template <int W>
__m128i six_tap_samples(const __m128i s[6], const SixTaps& t) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo[6];
    for (int k = 0; k < 6; ++k) lo[k] = _mm_unpacklo_epi8(s[k], zero);
    const __m128i low = six_tap_lanes(lo, t);
    if constexpr (W < 16) {
        return _mm_packus_epi16(low, low);
    } else {
        __m128i hi[6];
        for (int k = 0; k < 6; ++k) hi[k] = _mm_unpackhi_epi8(s[k], zero);
        return _mm_packus_epi16(low, six_tap_lanes(hi, t));
    }
}

// Filters `rows` rows along each row.
template <int W>
void six_tap_rows(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch,
                  int rows) {
    const SixTaps t = six_taps(frac);
    for (int r = 0; r < rows; ++r, src += src_stride, dst += dst_pitch) {
        __m128i s[6];
        for (int k = 0; k < 6; ++k) s[k] = load_samples<W>(src + k - 2);
        store_samples<W>(dst, six_tap_samples<W>(s, t));
    }
}

// Filters `rows` rows down each column; src points two rows above the first output row.
template <int W>
void six_tap_columns(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch,
                     int rows) {
    const SixTaps t = six_taps(frac);
    __m128i s[6];
    for (int k = 0; k < 5; ++k) s[k] = load_samples<W>(src + k * src_stride);
    src += 5 * src_stride;
    for (int r = 0; r < rows; ++r, src += src_stride, dst += dst_pitch) {
        s[5] = load_samples<W>(src);
        store_samples<W>(dst, six_tap_samples<W>(s, t));
        for (int k = 0; k < 5; ++k) s[k] = s[k + 1];
    }
}

// A whole-sample position along one axis needs no pass along it: the filter
// of fraction 0 gives each sample back unchanged.
template <int W, int H>
void six_tap(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
             int dst_pitch) {
    if (frac_row == 0) return six_tap_rows<W>(src, src_stride, frac_col, dst, dst_pitch, H);
    if (frac_col == 0)
        return six_tap_columns<W>(src - 2 * src_stride, src_stride, frac_row, dst, dst_pitch, H);
    alignas(16) uint8_t first[(H + 5) * W];
    six_tap_rows<W>(src - 2 * src_stride, src_stride, frac_col, first, W, H + 5);
    six_tap_columns<W>(first, W, frac_row, dst, dst_pitch, H);
}

// (a * tap0 + b * tap1 + 64) >> 7 stays within 0..32704 in 16-bit lanes.
struct TwoTaps {
    __m128i tap0, tap1;
};

TwoTaps bilinear_taps(int frac) {
    return {_mm_set1_epi16(kBilinearFilters[frac][0]), _mm_set1_epi16(kBilinearFilters[frac][1])};
}

__m128i bilinear_lanes(__m128i a, __m128i b, const TwoTaps& t) {
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a, t.tap0), _mm_mullo_epi16(b, t.tap1));
    return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(64)), 7);
}

template <int W>
__m128i bilinear_samples(__m128i a, __m128i b, const TwoTaps& t) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = bilinear_lanes(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), t);
    if constexpr (W < 16) {
        return _mm_packus_epi16(low, low);
    } else {
        return _mm_packus_epi16(
            low, bilinear_lanes(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), t));
    }
}

// Both passes over every row, as the plain version does: H + 1 rows along, then down.
template <int W, int H>
void bilinear(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
              int dst_pitch) {
    const TwoTaps across = bilinear_taps(frac_col), down = bilinear_taps(frac_row);
    __m128i above = bilinear_samples<W>(load_samples<W>(src), load_samples<W>(src + 1), across);
    for (int r = 0; r < H; ++r, dst += dst_pitch) {
        src += src_stride;
        const __m128i below =
            bilinear_samples<W>(load_samples<W>(src), load_samples<W>(src + 1), across);
        store_samples<W>(dst, bilinear_samples<W>(above, below, down));
        above = below;
    }
}

template <int W, int H>
void copy_block(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch) {
    for (int r = 0; r < H; ++r, src += src_stride, dst += dst_pitch)
        store_samples<W>(dst, load_samples<W>(src));
}

}  // namespace

void block_copy_16x16(const uint8_t* s, int ss, uint8_t* d, int dp) {
    copy_block<16, 16>(s, ss, d, dp);
}
void block_copy_8x8(const uint8_t* s, int ss, uint8_t* d, int dp) {
    copy_block<8, 8>(s, ss, d, dp);
}
void block_copy_8x4(const uint8_t* s, int ss, uint8_t* d, int dp) {
    copy_block<8, 4>(s, ss, d, dp);
}

void six_tap_pred_16x16(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    six_tap<16, 16>(s, ss, fc, fr, d, dp);
}
void six_tap_pred_8x8(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    six_tap<8, 8>(s, ss, fc, fr, d, dp);
}
void six_tap_pred_chroma_8x8(const uint8_t* su, const uint8_t* sv, int ss, int fc, int fr,
                             uint8_t* du, uint8_t* dv, int dp) {
    six_tap<8, 8>(su, ss, fc, fr, du, dp);
    six_tap<8, 8>(sv, ss, fc, fr, dv, dp);
}
void six_tap_pred_8x4(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    six_tap<8, 4>(s, ss, fc, fr, d, dp);
}
void six_tap_pred_4x4(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    six_tap<4, 4>(s, ss, fc, fr, d, dp);
}
void bilin_pred_16x16(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    bilinear<16, 16>(s, ss, fc, fr, d, dp);
}
void bilin_pred_8x8(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    bilinear<8, 8>(s, ss, fc, fr, d, dp);
}
void bilin_pred_8x4(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    bilinear<8, 4>(s, ss, fc, fr, d, dp);
}
void bilin_pred_4x4(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    bilinear<4, 4>(s, ss, fc, fr, d, dp);
}

}  // namespace vp8::sse2
