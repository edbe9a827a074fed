// Constant tables of the VP8 format: trees, default and update probabilities,
// quantiser lookups, scan order and filter taps.
#pragma once

#include <cstdint>

namespace vp8 {

inline constexpr int kBlockTypes = 4;
inline constexpr int kCoefBands = 8;
inline constexpr int kCoefContexts = 3;
inline constexpr int kCoefNodes = 11;
inline constexpr int kSubblockModes = 10;
inline constexpr int kQuantIndices = 128;
inline constexpr int kMvProbCount = 19;

// Positions inside one motion-vector component context.
inline constexpr int kMvpIsShort = 0;
inline constexpr int kMvpSign = 1;
inline constexpr int kMvpShort = 2;
inline constexpr int kMvpLong = 9;
inline constexpr int kMvLongBits = 10;

// A tree is an array of entries; positive entries index the next node pair,
// non-positive entries are leaves holding the negated value.
using TreeIndex = int8_t;

// Leaf values are the mode numbers of mb_modes.h (DC 0 .. SPLIT 9, sub-block
// modes 0..9, sub-vector modes 10..13). Defined here, so that readers can
// unfold a tree when compiling (read_fixed_tree).
inline constexpr TreeIndex kYModeTree[8] = {-0, 2, 4, 6, -1, -2, -3, -4};
inline constexpr TreeIndex kKeyFrameYModeTree[8] = {-4, 2, 4, 6, -0, -1, -2, -3};
inline constexpr TreeIndex kUvModeTree[6] = {-0, 2, -1, 4, -2, -3};
inline constexpr TreeIndex kSubblockModeTree[18] = {-0, 2,  -1, 4,  -2, 6,  8,  12, -3,
                                                    10, -5, -6, -4, 14, -7, 16, -8, -9};
inline constexpr TreeIndex kMvRefTree[8] = {-7, 2, -5, 4, -6, 6, -8, -9};
inline constexpr TreeIndex kSplitTree[6] = {-3, 2, -2, 4, -0, -1};
inline constexpr TreeIndex kSubMvRefTree[6] = {-10, 2, -11, 4, -12, -13};
inline constexpr TreeIndex kSmallMvTree[14] = {2, 8, 4, 6, -0, -1, -2, -3, 10, 12, -4, -5, -6, -7};

extern const uint8_t kKeyFrameYModeProbs[4];
extern const uint8_t kKeyFrameUvModeProbs[3];
extern const uint8_t kKeyFrameSubblockModeProbs[kSubblockModes][kSubblockModes][kSubblockModes - 1];
extern const uint8_t kDefaultYModeProbs[4];
extern const uint8_t kDefaultUvModeProbs[3];
extern const uint8_t kDefaultSubblockModeProbs[kSubblockModes - 1];

extern const uint8_t kDefaultCoefProbs[kBlockTypes][kCoefBands][kCoefContexts][kCoefNodes];
extern const uint8_t kCoefUpdateProbs[kBlockTypes][kCoefBands][kCoefContexts][kCoefNodes];

extern const uint8_t kModeContextProbs[6][4];
extern const uint8_t kSplitProbs[3];
extern const uint8_t kSubMvRefProbs[5][3];
extern const uint8_t kMvUpdateProbs[2][kMvProbCount];
extern const uint8_t kDefaultMvProbs[2][kMvProbCount];

// Partition of each of the 16 luma sub-blocks for the four split layouts, and
// the number of partitions of each layout.
extern const uint8_t kSplitMaps[4][16];
extern const uint8_t kSplitCounts[4];

extern const uint8_t kZigzag[16];
// One entry past the last position keeps the token loop free of a bound test.
inline constexpr uint8_t kCoefBandOfPosition[17] = {0, 1, 2, 3, 6, 4, 5, 6, 6,
                                                    6, 6, 6, 6, 6, 6, 7, 0};

// Extra-bit probabilities of the six token categories (zero-terminated) and
// their base values.
extern const uint8_t kCategoryProbs[6][12];
extern const int16_t kCategoryBase[6];

extern const int16_t kDcQuantLookup[kQuantIndices];
extern const int16_t kAcQuantLookup[kQuantIndices];

// The six-tap subpixel filters by eighth-sample fraction; in the header so
// that the vector kernels can derive their constants at compile time.
inline constexpr int16_t kSixTapFilters[8][6] = {
    {0, 0, 128, 0, 0, 0},     {0, -6, 123, 12, -1, 0},  {2, -11, 108, 36, -8, 1},
    {0, -9, 93, 50, -6, 0},   {3, -16, 77, 77, -16, 3}, {0, -6, 50, 93, -9, 0},
    {1, -8, 36, 108, -11, 2}, {0, -1, 12, 123, -6, 0},
};
extern const int16_t kBilinearFilters[8][2];

// Number of left shifts that bring a range value (1..255) to 128 or more.
extern const uint8_t kNormShift[256];

}  // namespace vp8
