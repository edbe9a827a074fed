// AVX2 six-tap predictors for the 16- and 8-wide blocks, by the SSSE3 method
// (byte shuffles and 8-bit multiply-adds of tap pairs, summed in the same
// order, see subpixel_ssse3.cpp) on two rows per register along the rows, and
// on two (16 wide) or four (8 wide) output rows per register down the columns.
// A macroblock's U and V blocks are predicted in one call, a U row and the V
// row beside it sharing each register. The 4x4 blocks and the bilinear
// predictors keep their SSSE3 variants: the bilinear multiply-adds gain
// nothing from wider registers.
#include <immintrin.h>

#include "vp8dec/kernels/sample_access.h"
#include "vp8dec/kernels/tap_pair_words.h"
#include "vp8dec/kernels/vector_variants.h"
#include "vp8dec/tables.h"

namespace vp8::avx2 {

namespace {

struct TapPairs {
    __m256i taps12, taps34, taps05;
};

// Fraction 0 (tap 128) never comes here: its pass is a copy.
TapPairs tap_pairs(int frac) {
    const std::array<int16_t, 3>& words = kTapPairWords[frac];
    return {_mm256_set1_epi16(words[0]), _mm256_set1_epi16(words[1]), _mm256_set1_epi16(words[2])};
}

// The odd fractions' filters have no outer taps (0 and 5): four samples make
// each output, and the pair (0, 5), which would add nothing, is left out.
bool four_taps(int frac) {
    return frac & 1;
}

template <bool Four>
__m256i sum_pairs(__m256i pairs12, __m256i pairs34, __m256i pairs05, const TapPairs& t) {
    __m256i sum = _mm256_adds_epi16(_mm256_maddubs_epi16(pairs12, t.taps12),
                                    _mm256_maddubs_epi16(pairs34, t.taps34));
    if constexpr (!Four) sum = _mm256_adds_epi16(sum, _mm256_maddubs_epi16(pairs05, t.taps05));
    return _mm256_srai_epi16(_mm256_adds_epi16(sum, _mm256_set1_epi16(64)), 7);
}

// Byte shuffles gathering the samples under the tap pairs (1, 2), (3, 4) and
// (0, 5) of eight outputs, in each 128-bit lane. A lane holds consecutive
// columns from first_column on, or (split) columns -2..5 then 3..10.
struct Shuffle {
    alignas(32) int8_t bytes[32];
};

struct PairShuffles {
    Shuffle pairs12, pairs34, pairs05;
};

struct LaneLayout {
    int first_output, first_column;
    bool split;
};

constexpr int byte_of(int column, const LaneLayout& lane) {
    if (lane.split) return column <= 5 ? column + 2 : column + 5;
    return column - lane.first_column;
}

// Taps 0..5 sit at columns -2..3 from their output.
constexpr Shuffle pair_shuffle(const LaneLayout& low, const LaneLayout& high, int tap_a,
                               int tap_b) {
    Shuffle shuffle{};
    const LaneLayout lanes[2] = {low, high};
    for (int lane = 0; lane < 2; ++lane)
        for (int c = 0; c < 8; ++c) {
            const int output = lanes[lane].first_output + c;
            shuffle.bytes[16 * lane + 2 * c] =
                static_cast<int8_t>(byte_of(output + tap_a - 2, lanes[lane]));
            shuffle.bytes[16 * lane + 2 * c + 1] =
                static_cast<int8_t>(byte_of(output + tap_b - 2, lanes[lane]));
        }
    return shuffle;
}

constexpr PairShuffles pair_shuffles(const LaneLayout& low, const LaneLayout& high) {
    return {pair_shuffle(low, high, 1, 2), pair_shuffle(low, high, 3, 4),
            pair_shuffle(low, high, 0, 5)};
}

// A 16-wide row: outputs 0..7 from columns -2..13 in the low lane, outputs
// 8..15 from columns 3..18 in the high lane. An 8-wide row per lane, split.
constexpr PairShuffles kWideRow = pair_shuffles({0, -2, false}, {8, 3, false});
constexpr PairShuffles kSplitRows = pair_shuffles({0, 0, true}, {0, 0, true});

__m256i shuffled(__m256i samples, const Shuffle& shuffle) {
    return _mm256_shuffle_epi8(samples,
                               _mm256_load_si256(reinterpret_cast<const __m256i*>(shuffle.bytes)));
}

template <bool Four>
__m256i filter_lanes(__m256i samples, const PairShuffles& m, const TapPairs& t) {
    const __m256i pairs05 = Four ? samples : shuffled(samples, m.pairs05);
    return sum_pairs<Four>(shuffled(samples, m.pairs12), shuffled(samples, m.pairs34), pairs05, t);
}

__m256i join(__m128i low, __m128i high) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

void store_lanes_16(uint8_t* first_row, uint8_t* second_row, __m256i rows) {
    store_16(first_row, _mm256_castsi256_si128(rows));
    store_16(second_row, _mm256_extracti128_si256(rows, 1));
}

void store_lanes_8(uint8_t* first_row, uint8_t* second_row, __m256i rows) {
    store_8(first_row, _mm256_castsi256_si128(rows));
    store_8(second_row, _mm256_extracti128_si256(rows, 1));
}

// 16 outputs of one row as 16-bit lanes: 0..7 low, 8..15 high.
template <bool Four>
__m256i wide_row(const uint8_t* s, const TapPairs& t) {
    return filter_lanes<Four>(join(load_16(s - 2), load_16(s + 3)), kWideRow, t);
}

// Filters `rows` 16-wide rows along each row, two at a time.
template <bool Four>
void rows_16(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch, int rows) {
    const TapPairs t = tap_pairs(frac);
    int r = 0;
    for (; r + 1 < rows; r += 2, src += 2 * src_stride, dst += 2 * dst_pitch) {
        const __m256i packed =
            _mm256_packus_epi16(wide_row<Four>(src, t), wide_row<Four>(src + src_stride, t));
        // Lanes now hold outputs 0..7 of both rows, then 8..15 of both.
        store_lanes_16(dst, dst + dst_pitch,
                       _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
    }
    if (r < rows) {
        const __m256i row = wide_row<Four>(src, t);
        const __m256i packed = _mm256_packus_epi16(row, row);
        store_16(dst,
                 _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0))));
    }
}

// The columns -2..5 and 3..10 of an 8-wide row.
__m128i split_row(const uint8_t* s) {
    return _mm_unpacklo_epi64(load_8(s - 2), load_8(s + 3));
}

// Filters `rows` 8-wide rows along each row, two at a time.
template <bool Four>
void rows_8(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch, int rows) {
    const TapPairs t = tap_pairs(frac);
    int r = 0;
    for (; r + 1 < rows; r += 2, src += 2 * src_stride, dst += 2 * dst_pitch) {
        const __m256i out =
            filter_lanes<Four>(join(split_row(src), split_row(src + src_stride)), kSplitRows, t);
        store_lanes_8(dst, dst + dst_pitch, _mm256_packus_epi16(out, out));
    }
    if (r < rows) {
        const __m256i out =
            filter_lanes<Four>(_mm256_zextsi128_si256(split_row(src)), kSplitRows, t);
        store_8(dst, _mm256_castsi256_si128(_mm256_packus_epi16(out, out)));
    }
}

__m256i load_32(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Down the columns of `rows` (even) output rows from the 16-wide first-pass
// rows, consecutive in `first` from two rows above the first output row. A
// 32-byte load holds two consecutive rows, one per lane. With four taps the
// rows two above and three below an output are not read.
template <bool Four, class StoreTwoRows>
void columns_16(const uint8_t* first, int frac, int rows, const StoreTwoRows& store) {
    const TapPairs t = tap_pairs(frac);
    for (int r = 0; r < rows; r += 2, first += 32) {
        __m256i y[6];
        for (int k = 0; k < 6; ++k)
            y[k] = Four && (k == 0 || k == 5) ? _mm256_setzero_si256() : load_32(first + 16 * k);
        const __m256i low =
            sum_pairs<Four>(_mm256_unpacklo_epi8(y[1], y[2]), _mm256_unpacklo_epi8(y[3], y[4]),
                            _mm256_unpacklo_epi8(y[0], y[5]), t);
        const __m256i high =
            sum_pairs<Four>(_mm256_unpackhi_epi8(y[1], y[2]), _mm256_unpackhi_epi8(y[3], y[4]),
                            _mm256_unpackhi_epi8(y[0], y[5]), t);
        store(r, _mm256_packus_epi16(low, high));
    }
}

template <bool Four>
void columns_16(const uint8_t* first, int frac, uint8_t* dst, int dst_pitch, int rows) {
    columns_16<Four>(first, frac, rows, [dst, dst_pitch](int r, __m256i two_rows) {
        store_lanes_16(dst + r * dst_pitch, dst + (r + 1) * dst_pitch, two_rows);
    });
}

// The same for 8-wide rows, four output rows at a time (rows a multiple of
// 4): a 32-byte load holds four consecutive rows, two per lane.
template <bool Four>
void columns_8(const uint8_t* first, int frac, uint8_t* dst, int dst_pitch, int rows) {
    const TapPairs t = tap_pairs(frac);
    for (int r = 0; r < rows; r += 4, first += 32, dst += 4 * dst_pitch) {
        __m256i y[6];
        for (int k = 0; k < 6; ++k)
            y[k] = Four && (k == 0 || k == 5) ? _mm256_setzero_si256() : load_32(first + 8 * k);
        // Low halves: output rows r and r + 2; high halves: r + 1 and r + 3.
        const __m256i even =
            sum_pairs<Four>(_mm256_unpacklo_epi8(y[1], y[2]), _mm256_unpacklo_epi8(y[3], y[4]),
                            _mm256_unpacklo_epi8(y[0], y[5]), t);
        const __m256i odd =
            sum_pairs<Four>(_mm256_unpackhi_epi8(y[1], y[2]), _mm256_unpackhi_epi8(y[3], y[4]),
                            _mm256_unpackhi_epi8(y[0], y[5]), t);
        const __m256i packed = _mm256_packus_epi16(even, odd);
        const __m128i rows01 = _mm256_castsi256_si128(packed);
        const __m128i rows23 = _mm256_extracti128_si256(packed, 1);
        store_8(dst, rows01);
        store_8_high(dst + dst_pitch, rows01);
        store_8(dst + 2 * dst_pitch, rows23);
        store_8_high(dst + 3 * dst_pitch, rows23);
    }
}

template <int W>
void copy_rows(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch, int rows) {
    for (int r = 0; r < rows; ++r, src += src_stride, dst += dst_pitch)
        store_samples<W>(dst, load_samples<W>(src));
}

// Filters `rows` W-wide rows along each row (fraction not 0).
template <int W, bool Four>
void along_rows(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch,
                int rows) {
    if constexpr (W == 16) rows_16<Four>(src, src_stride, frac, dst, dst_pitch, rows);
    if constexpr (W == 8) rows_8<Four>(src, src_stride, frac, dst, dst_pitch, rows);
}

template <int W>
void along_rows(const uint8_t* src, int src_stride, int frac, uint8_t* dst, int dst_pitch,
                int rows) {
    if (four_taps(frac)) return along_rows<W, true>(src, src_stride, frac, dst, dst_pitch, rows);
    along_rows<W, false>(src, src_stride, frac, dst, dst_pitch, rows);
}

// Both passes, the second with four taps (Four) or six. The first pass makes
// the rows from two above the block to three below it, or, when four taps
// follow, from one above to two below.
template <int W, int H, bool Four>
void both_passes(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
                 int dst_pitch) {
    alignas(32) uint8_t first[(H + 5) * W];
    constexpr int skipped = Four ? 1 : 0;
    const uint8_t* top = src - (2 - skipped) * src_stride;
    if (frac_col == 0) {
        copy_rows<W>(top, src_stride, first + skipped * W, W, H + 5 - 2 * skipped);
    } else {
        along_rows<W>(top, src_stride, frac_col, first + skipped * W, W, H + 5 - 2 * skipped);
    }
    if constexpr (W == 16) columns_16<Four>(first, frac_row, dst, dst_pitch, H);
    if constexpr (W == 8) columns_8<Four>(first, frac_row, dst, dst_pitch, H);
}

// Fraction 0 along an axis gives the samples back unchanged: no filter along it.
template <int W, int H>
void six_tap(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
             int dst_pitch) {
    if (frac_row == 0) {
        if (frac_col == 0) return copy_rows<W>(src, src_stride, dst, dst_pitch, H);
        return along_rows<W>(src, src_stride, frac_col, dst, dst_pitch, H);
    }
    if (four_taps(frac_row))
        return both_passes<W, H, true>(src, src_stride, frac_col, frac_row, dst, dst_pitch);
    both_passes<W, H, false>(src, src_stride, frac_col, frac_row, dst, dst_pitch);
}

// The U and V blocks of a macroblock together: each 16-byte row holds a U
// row then the V row beside it, so that the filter down the columns is the
// 16-wide one.
class ChromaPair {
  public:
    ChromaPair(const uint8_t* u, const uint8_t* v, int stride, uint8_t* dst_u, uint8_t* dst_v,
               int dst_pitch)
        : u_(u), v_(v), stride_(stride), dst_u_(dst_u), dst_v_(dst_v), dst_pitch_(dst_pitch) {}

    // Output rows r and r + 1 from the lanes of two_rows.
    void store(int r, __m256i two_rows) const {
        store_row(r, _mm256_castsi256_si128(two_rows));
        store_row(r + 1, _mm256_extracti128_si256(two_rows, 1));
    }

    // `rows` rows from `first_row` on, filtered along the rows (fraction not
    // 0), two at a time, handed to sink(r, two rows) with r counted from 0.
    template <bool Four, class Sink>
    void along_rows(int first_row, int frac, int rows, const Sink& sink) const {
        const TapPairs t = tap_pairs(frac);
        for (int r = 0; r < rows; r += 2) {
            const __m256i first = row_pair<Four>(first_row + r, t);
            const __m256i second = r + 1 < rows ? row_pair<Four>(first_row + r + 1, t) : first;
            // Lanes: U of both rows, V of both rows; then each row's U and V.
            const __m256i packed = _mm256_packus_epi16(first, second);
            sink(r, _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
        }
    }

    template <class Sink>
    void along_rows(int first_row, int frac, int rows, const Sink& sink) const {
        if (four_taps(frac)) return along_rows<true>(first_row, frac, rows, sink);
        along_rows<false>(first_row, frac, rows, sink);
    }

    // The rows unfiltered, as the pass down the columns reads them.
    void copy_rows(int first_row, int rows, uint8_t* out) const {
        for (int r = 0; r < rows; ++r)
            store_16(out + 16 * r, _mm_unpacklo_epi64(load_8(u_ + (first_row + r) * stride_),
                                                      load_8(v_ + (first_row + r) * stride_)));
    }

    void copy_blocks() const {
        for (int r = 0; r < 8; ++r) {
            store_8(dst_u_ + r * dst_pitch_, load_8(u_ + r * stride_));
            store_8(dst_v_ + r * dst_pitch_, load_8(v_ + r * stride_));
        }
    }

  private:
    void store_row(int r, __m128i row) const {
        store_8(dst_u_ + r * dst_pitch_, row);
        store_8_high(dst_v_ + r * dst_pitch_, row);
    }

    // Row r of U in the low lane and of V in the high one, filtered along the row.
    template <bool Four>
    __m256i row_pair(int r, const TapPairs& t) const {
        return filter_lanes<Four>(join(split_row(u_ + r * stride_), split_row(v_ + r * stride_)),
                                  kSplitRows, t);
    }

    const uint8_t* u_;
    const uint8_t* v_;
    int stride_;
    uint8_t* dst_u_;
    uint8_t* dst_v_;
    int dst_pitch_;
};

// Both passes over the pair, the second with four taps (Four) or six.
template <bool Four>
void chroma_both_passes(const ChromaPair& pair, int frac_col, int frac_row) {
    // Thirteen rows, or eleven; the last pair of an odd count writes one more.
    alignas(32) uint8_t first[14 * 16];
    constexpr int skipped = Four ? 1 : 0;
    constexpr int rows = 13 - 2 * skipped;
    uint8_t* const out = first + skipped * 16;
    if (frac_col == 0) {
        pair.copy_rows(skipped - 2, rows, out);
    } else {
        pair.along_rows(skipped - 2, frac_col, rows, [out](int r, __m256i two_rows) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16 * r), two_rows);
        });
    }
    columns_16<Four>(first, frac_row, 8,
                     [&pair](int r, __m256i two_rows) { pair.store(r, two_rows); });
}

}  // namespace

void six_tap_pred_chroma_8x8(const uint8_t* su, const uint8_t* sv, int ss, int fc, int fr,
                             uint8_t* du, uint8_t* dv, int dp) {
    const ChromaPair pair(su, sv, ss, du, dv, dp);
    if (fr == 0) {
        if (fc == 0) return pair.copy_blocks();
        return pair.along_rows(0, fc, 8,
                               [&pair](int r, __m256i two_rows) { pair.store(r, two_rows); });
    }
    if (four_taps(fr)) return chroma_both_passes<true>(pair, fc, fr);
    chroma_both_passes<false>(pair, fc, fr);
}

void six_tap_pred_16x16(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    six_tap<16, 16>(s, ss, fc, fr, d, dp);
}
void six_tap_pred_8x8(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    six_tap<8, 8>(s, ss, fc, fr, d, dp);
}
void six_tap_pred_8x4(const uint8_t* s, int ss, int fc, int fr, uint8_t* d, int dp) {
    six_tap<8, 4>(s, ss, fc, fr, d, dp);
}

}  // namespace vp8::avx2
