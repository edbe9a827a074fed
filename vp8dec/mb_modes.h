// Enumerations of macroblock modes, sub-block modes, sub-vector modes and references.
#pragma once

namespace vp8 {

enum MbMode : int {
    DC_PRED = 0,
    V_PRED = 1,
    H_PRED = 2,
    TM_PRED = 3,
    B_PRED = 4,
    NEARESTMV = 5,
    NEARMV = 6,
    ZEROMV = 7,
    NEWMV = 8,
    SPLITMV = 9,
};

enum SubblockMode : int {
    B_DC_PRED = 0,
    B_TM_PRED = 1,
    B_VE_PRED = 2,
    B_HE_PRED = 3,
    B_LD_PRED = 4,
    B_RD_PRED = 5,
    B_VR_PRED = 6,
    B_VL_PRED = 7,
    B_HD_PRED = 8,
    B_HU_PRED = 9,
    LEFT4X4 = 10,
    ABOVE4X4 = 11,
    ZERO4X4 = 12,
    NEW4X4 = 13,
};

enum ReferenceFrame : int {
    INTRA_FRAME = 0,
    LAST_FRAME = 1,
    GOLDEN_FRAME = 2,
    ALTREF_FRAME = 3,
};

enum SplitLayout : int {
    SPLIT_16X8 = 0,
    SPLIT_8X16 = 1,
    SPLIT_8X8 = 2,
    SPLIT_4X4 = 3,
};

inline bool has_y2_block(int mode) {
    return mode != B_PRED && mode != SPLITMV;
}

}  // namespace vp8
