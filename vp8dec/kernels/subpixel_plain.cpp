// Plain block copies and six-tap and bilinear sub-pixel predictors.
#include <algorithm>
#include <cstring>

#include "vp8dec/kernels/plain_kernels.h"
#include "vp8dec/tables.h"

namespace vp8::plain {

namespace {

inline uint8_t clamp255(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

template <int W, int H>
void copy_block(const uint8_t* src, int src_stride, uint8_t* dst, int dst_pitch) {
    for (int r = 0; r < H; ++r) std::memcpy(dst + r * dst_pitch, src + r * src_stride, W);
}

// Horizontal pass over h + 5 rows starting two rows above, then the vertical pass.
template <int W, int H>
void six_tap(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
             int dst_pitch) {
    int first[(H + 5) * W];
    const int16_t* h = kSixTapFilters[frac_col];
    const uint8_t* s = src - 2 * src_stride;
    for (int r = 0; r < H + 5; ++r, s += src_stride)
        for (int c = 0; c < W; ++c) {
            const int sum = s[c - 2] * h[0] + s[c - 1] * h[1] + s[c] * h[2] + s[c + 1] * h[3] +
                            s[c + 2] * h[4] + s[c + 3] * h[5];
            first[r * W + c] = clamp255((sum + 64) >> 7);
        }
    const int16_t* v = kSixTapFilters[frac_row];
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            const int* f = first + (r + 2) * W + c;
            const int sum = f[-2 * W] * v[0] + f[-W] * v[1] + f[0] * v[2] + f[W] * v[3] +
                            f[2 * W] * v[4] + f[3 * W] * v[5];
            dst[r * dst_pitch + c] = clamp255((sum + 64) >> 7);
        }
}

template <int W, int H>
void bilinear(const uint8_t* src, int src_stride, int frac_col, int frac_row, uint8_t* dst,
              int dst_pitch) {
    int first[(H + 1) * W];
    const int16_t* h = kBilinearFilters[frac_col];
    for (int r = 0; r < H + 1; ++r) {
        const uint8_t* s = src + r * src_stride;
        for (int c = 0; c < W; ++c) first[r * W + c] = (s[c] * h[0] + s[c + 1] * h[1] + 64) >> 7;
    }
    const int16_t* v = kBilinearFilters[frac_row];
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            const int* f = first + r * W + c;
            dst[r * dst_pitch + c] = static_cast<uint8_t>((f[0] * v[0] + f[W] * v[1] + 64) >> 7);
        }
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

}  // namespace vp8::plain
