// The per-macroblock mode-info record. Its in-memory layout is also the record
// format of the macroblock information file: 316 bytes, little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vp8 {

// Motion vector in eighth luma samples (twice the coded quarter-sample value).
struct MotionVector {
    int16_t row;
    int16_t col;

    friend bool operator==(const MotionVector&, const MotionVector&) = default;
    bool is_zero() const { return row == 0 && col == 0; }
};

struct ModeAndVector {
    int32_t mode;
    MotionVector mv;
};

struct MbAnalysisRecord {
    int32_t mode;                  // MbMode
    int32_t uv_mode;               // chroma mode, 0..3
    int32_t ref_frame;             // ReferenceFrame
    MotionVector mv;               // for SPLITMV the vector of sub-block 15
    int32_t partitioning;          // SplitLayout, SPLITMV only
    int32_t reserved20;            // not written
    int32_t skip;                  // mb_skip_coeff as coded
    int32_t has_residual;          // written by reconstruction
    uint8_t segment_id;            // 0..3
    uint8_t reserved33[3];         // not written
    int32_t reserved36;            // not written
    int32_t need_to_clamp;         // a vector lies outside the clamping window
    ModeAndVector partitions[16];  // per SPLITMV partition: sub-vector mode and vector
    int32_t bits;                  // mode bits plus token bits
    int32_t reserved176[3];        // not written
    ModeAndVector subblocks[16];   // per 4x4 sub-block in raster order
};

static_assert(sizeof(MbAnalysisRecord) == 316);
static_assert(offsetof(MbAnalysisRecord, mv) == 12);
static_assert(offsetof(MbAnalysisRecord, skip) == 24);
static_assert(offsetof(MbAnalysisRecord, segment_id) == 32);
static_assert(offsetof(MbAnalysisRecord, need_to_clamp) == 40);
static_assert(offsetof(MbAnalysisRecord, partitions) == 44);
static_assert(offsetof(MbAnalysisRecord, bits) == 172);
static_assert(offsetof(MbAnalysisRecord, subblocks) == 188);

inline constexpr size_t kMbAnalysisRecordSize = sizeof(MbAnalysisRecord);

}  // namespace vp8
