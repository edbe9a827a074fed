// The small constant tables; the large probability tables live in tables_data.cpp.
#include "vp8dec/tables.h"

namespace vp8 {

const uint8_t kKeyFrameYModeProbs[4] = {145, 156, 163, 128};
const uint8_t kKeyFrameUvModeProbs[3] = {142, 114, 183};
const uint8_t kDefaultYModeProbs[4] = {112, 86, 140, 37};
const uint8_t kDefaultUvModeProbs[3] = {162, 101, 204};
const uint8_t kDefaultSubblockModeProbs[kSubblockModes - 1] = {120, 90, 79,  133, 87,
                                                               85,  80, 111, 151};

const uint8_t kSplitProbs[3] = {110, 111, 150};
const uint8_t kSubMvRefProbs[5][3] = {
    {147, 136, 18}, {106, 145, 1}, {179, 121, 1}, {223, 1, 34}, {208, 1, 1},
};

const uint8_t kSplitMaps[4][16] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1},
    {0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1},
    {0, 0, 1, 1, 0, 0, 1, 1, 2, 2, 3, 3, 2, 2, 3, 3},
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
};
const uint8_t kSplitCounts[4] = {2, 2, 4, 16};

const uint8_t kZigzag[16] = {0, 1, 4, 8, 5, 2, 3, 6, 9, 12, 13, 10, 7, 11, 14, 15};

const uint8_t kCategoryProbs[6][12] = {
    {159, 0},
    {165, 145, 0},
    {173, 148, 140, 0},
    {176, 155, 140, 135, 0},
    {180, 157, 141, 134, 130, 0},
    {254, 254, 243, 230, 196, 177, 153, 140, 133, 130, 129, 0},
};
const int16_t kCategoryBase[6] = {5, 7, 11, 19, 35, 67};

const int16_t kBilinearFilters[8][2] = {
    {128, 0}, {112, 16}, {96, 32}, {80, 48}, {64, 64}, {48, 80}, {32, 96}, {16, 112},
};

const uint8_t kNormShift[256] = {
#define R16(x) x, x, x, x, x, x, x, x, x, x, x, x, x, x, x, x
    0,      7,      6,      6,      5,      5,      5,      5,      4,      4,      4,
    4,      4,      4,      4,      4,      R16(3), R16(2), R16(2), R16(1), R16(1), R16(1),
    R16(1), R16(0), R16(0), R16(0), R16(0), R16(0), R16(0), R16(0), R16(0),
#undef R16
};

}  // namespace vp8
