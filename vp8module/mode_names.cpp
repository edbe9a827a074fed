#include "vp8module/mode_names.h"

#include <array>

namespace tavimor {

namespace {

constexpr std::array<std::string_view, 10> kMbModes = {"DC_PRED", "V_PRED",    "H_PRED", "TM_PRED",
                                                       "B_PRED",  "NEARESTMV", "NEARMV", "ZEROMV",
                                                       "NEWMV",   "SPLITMV"};
constexpr std::array<std::string_view, 14> kSubblockModes = {
    "B_DC_PRED", "B_TM_PRED", "B_VE_PRED", "B_HE_PRED", "B_LD_PRED", "B_RD_PRED", "B_VR_PRED",
    "B_VL_PRED", "B_HD_PRED", "B_HU_PRED", "LEFT4X4",   "ABOVE4X4",  "ZERO4X4",   "NEW4X4"};
constexpr std::array<std::string_view, 4> kPartitionSizes = {"16x8", "8x16", "8x8", "4x4"};
constexpr std::array<std::string_view, 4> kReferenceFrames = {"INTRA_FRAME", "LAST_FRAME",
                                                              "GOLDEN_FRAME", "ALTREF_FRAME"};

template <size_t N>
std::string_view name_in(const std::array<std::string_view, N>& names, int value) {
    return value >= 0 && static_cast<size_t>(value) < N ? names[value] : "?";
}

}  // namespace

std::string_view mb_mode_name(int mode) {
    return name_in(kMbModes, mode);
}

std::string_view subblock_mode_name(int mode) {
    return name_in(kSubblockModes, mode);
}

std::string_view partition_size_name(int partitioning) {
    return name_in(kPartitionSizes, partitioning);
}

std::string_view reference_frame_name(int reference) {
    return name_in(kReferenceFrames, reference);
}

}  // namespace tavimor
