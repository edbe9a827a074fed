// SSSE3 six-tap and bilinear sub-pixel predictors: byte shuffles gather the
// samples under each pair of taps, and multiply-add of unsigned samples by
// signed 8-bit taps sums each pair into a 16-bit lane.
//
// Tap pairs (1, 2), (3, 4) and (0, 5) never overflow a lane (at most 123 * 255
// with fraction 0 handled apart, since its tap 128 has no 8-bit form). Their
// sum saturates only upwards, and only after the first two pairs, when the
// last pair (never negative) cannot bring it back: such a sum clamps to 255
// either way.
#include <tmmintrin.h>

#include <cstdint>

#include "vp8dec/kernels/sample_access.h"
#include "vp8dec/kernels/tap_pair_words.h"
#include "vp8dec/kernels/vector_variants.h"
#include "vp8dec/tables.h"

namespace vp8::ssse3 {

namespace {

// The tap pairs of one filter, each pair repeated through the register.
struct TapPairs {
    __m128i taps12, taps34, taps05;
};

TapPairs tap_pairs(int frac) {
    const std::array<int16_t, 3>& words = kTapPairWords[frac];
    return {_mm_set1_epi16(words[0]), _mm_set1_epi16(words[1]), _mm_set1_epi16(words[2])};
}

__m128i sum_pairs(__m128i pairs12, __m128i pairs34, __m128i pairs05, const TapPairs& t) {
    const __m128i sum =
        _mm_adds_epi16(_mm_maddubs_epi16(pairs12, t.taps12), _mm_maddubs_epi16(pairs34, t.taps34));
    const __m128i all = _mm_adds_epi16(sum, _mm_maddubs_epi16(pairs05, t.taps05));
    return _mm_srai_epi16(_mm_adds_epi16(all, _mm_set1_epi16(64)), 7);
}

// Byte shuffles gathering, for eight outputs, the samples under taps (1, 2),
// (3, 4) and (0, 5) out of a register of sixteen samples. The register holds
// either consecutive columns from first_column on, or (split) columns -2..5
// followed by columns 3..10.
struct Shuffle {
    alignas(16) int8_t bytes[16];
};

struct PairShuffles {
    Shuffle pairs12, pairs34, pairs05;
};

constexpr int byte_of(int column, int first_column, bool split) {
    if (split) return column <= 5 ? column + 2 : column + 5;
    return column - first_column;
}

// Taps 0..5 sit at columns -2..3 from their output.
constexpr Shuffle pair_shuffle(int first_output, int first_column, bool split, int tap_a,
                               int tap_b) {
    Shuffle shuffle{};
    for (int c = 0; c < 8; ++c) {
        const int output = first_output + c;
        shuffle.bytes[2 * c] =
            static_cast<int8_t>(byte_of(output + tap_a - 2, first_column, split));
        shuffle.bytes[2 * c + 1] =
            static_cast<int8_t>(byte_of(output + tap_b - 2, first_column, split));
    }
    return shuffle;
}

constexpr PairShuffles pair_shuffles(int first_output, int first_column, bool split) {
    return {pair_shuffle(first_output, first_column, split, 1, 2),
            pair_shuffle(first_output, first_column, split, 3, 4),
            pair_shuffle(first_output, first_column, split, 0, 5)};
}

// Outputs 0..7 of a 16-wide row from columns -2..13, outputs 8..15 from columns
// 3..18; outputs 0..7 of a narrower row from the split register.
constexpr PairShuffles kLowHalf = pair_shuffles(0, -2, false);
constexpr PairShuffles kHighHalf = pair_shuffles(8, 3, false);
constexpr PairShuffles kSplit = pair_shuffles(0, 0, true);

__m128i shuffled(__m128i samples, const Shuffle& shuffle) {
    return _mm_shuffle_epi8(samples,
                            _mm_load_si128(reinterpret_cast<const __m128i*>(shuffle.bytes)));
}

__m128i filter_eight(__m128i samples, const PairShuffles& m, const TapPairs& t) {
    return sum_pairs(shuffled(samples, m.pairs12), shuffled(samples, m.pairs34),
                     shuffled(samples, m.pairs05), t);
}

// One row of W outputs filtered along the row, packed to bytes. A row of
// width W reads columns -2..W+2 and no further.
template <int W>
__m128i six_tap_row(const uint8_t* s, const TapPairs& t) {
    if constexpr (W == 16) {
        return _mm_packus_epi16(filter_eight(load_16(s - 2), kLowHalf, t),
                                filter_eight(load_16(s + 3), kHighHalf, t));
    } else {
        const __m128i tail = W == 8 ? load_8(s + 3) : load_4(s + 3);
        const __m128i out = filter_eight(_mm_unpacklo_epi64(load_8(s - 2), tail), kSplit, t);
        return _mm_packus_epi16(out, out);
    }
}

template <int W>
void six_tap_rows(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch,
                  int rows) {
    const TapPairs t = tap_pairs(frac);
    for (int r = 0; r < rows; ++r, src += src_stride, dst += dst_pitch)
        store_samples<W>(dst, six_tap_row<W>(src, t));
}

// Outputs down the columns from six rows of samples: eight from the low
// halves, and for W = 16 eight more from the high halves.
template <int W>
__m128i six_tap_column_samples(const __m128i s[6], const TapPairs& t) {
    const __m128i low = sum_pairs(_mm_unpacklo_epi8(s[1], s[2]), _mm_unpacklo_epi8(s[3], s[4]),
                                  _mm_unpacklo_epi8(s[0], s[5]), t);
    if constexpr (W < 16) {
        return _mm_packus_epi16(low, low);
    } else {
        const __m128i high = sum_pairs(_mm_unpackhi_epi8(s[1], s[2]), _mm_unpackhi_epi8(s[3], s[4]),
                                       _mm_unpackhi_epi8(s[0], s[5]), t);
        return _mm_packus_epi16(low, high);
    }
}

// src points two rows above the first output row.
template <int W>
void six_tap_columns(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch,
                     int rows) {
    const TapPairs t = tap_pairs(frac);
    __m128i s[6];
    for (int k = 0; k < 5; ++k) s[k] = load_samples<W>(src + k * src_stride);
    src += 5 * src_stride;
    for (int r = 0; r < rows; ++r, src += src_stride, dst += dst_pitch) {
        s[5] = load_samples<W>(src);
        store_samples<W>(dst, six_tap_column_samples<W>(s, t));
        for (int k = 0; k < 5; ++k) s[k] = s[k + 1];
    }
}

template <int W>
void copy_rows(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch, int rows) {
    for (int r = 0; r < rows; ++r, src += src_stride, dst += dst_pitch)
        store_samples<W>(dst, load_samples<W>(src));
}

// Fraction 0 along an axis gives the samples back unchanged: no pass along it.
template <int W, int H>
void six_tap(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
             int dst_pitch) {
    if (frac_row == 0) {
        if (frac_col == 0) return copy_rows<W>(src, src_stride, dst, dst_pitch, H);
        return six_tap_rows<W>(src, src_stride, frac_col, dst, dst_pitch, H);
    }
    if (frac_col == 0)
        return six_tap_columns<W>(src - 2 * src_stride, src_stride, frac_row, dst, dst_pitch, H);
    alignas(16) uint8_t first[(H + 5) * W];
    six_tap_rows<W>(src - 2 * src_stride, src_stride, frac_col, first, W, H + 5);
    six_tap_columns<W>(first, W, frac_row, dst, dst_pitch, H);
}

// Bilinear taps (128 - 16 f, 16 f) as one pair; fraction 0 is a copy along its axis.
__m128i bilinear_pair(int frac) {
    const auto a = static_cast<uint8_t>(kBilinearFilters[frac][0]);
    const auto b = static_cast<uint8_t>(kBilinearFilters[frac][1]);
    return _mm_set1_epi16(static_cast<int16_t>(a | (b << 8)));
}

__m128i bilinear_lanes(__m128i pairs, __m128i taps) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_maddubs_epi16(pairs, taps), _mm_set1_epi16(64)), 7);
}

// W outputs from samples a (under the first tap) and b (under the second).
template <int W>
__m128i bilinear_samples(__m128i a, __m128i b, __m128i taps) {
    const __m128i low = bilinear_lanes(_mm_unpacklo_epi8(a, b), taps);
    if constexpr (W < 16) {
        return _mm_packus_epi16(low, low);
    } else {
        return _mm_packus_epi16(low, bilinear_lanes(_mm_unpackhi_epi8(a, b), taps));
    }
}

template <int W>
__m128i bilinear_across(const uint8_t* s, int frac, __m128i taps) {
    if (frac == 0) return load_samples<W>(s);
    return bilinear_samples<W>(load_samples<W>(s), load_samples<W>(s + 1), taps);
}

template <int W, int H>
void bilinear(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
              int dst_pitch) {
    const __m128i across = bilinear_pair(frac_col), down = bilinear_pair(frac_row);
    __m128i above = bilinear_across<W>(src, frac_col, across);
    for (int r = 0; r < H; ++r, dst += dst_pitch) {
        src += src_stride;
        const __m128i below = bilinear_across<W>(src, frac_col, across);
        store_samples<W>(dst, frac_row == 0 ? above : bilinear_samples<W>(above, below, down));
        above = below;
    }
}

}  // namespace

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

}  // namespace vp8::ssse3
