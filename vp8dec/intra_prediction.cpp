#include "vp8dec/intra_prediction.h"

#include <algorithm>
#include <cstring>

#include "vp8dec/mb_modes.h"

namespace vp8 {

namespace {

inline uint8_t clamp255(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}
inline uint8_t avg2(int x, int y) {
    return static_cast<uint8_t>((x + y + 1) >> 1);
}
inline uint8_t avg3(int x, int y, int z) {
    return static_cast<uint8_t>((x + 2 * y + z + 2) >> 2);
}

int dc_value(const uint8_t* frame_at, int stride, int size, bool has_above, bool has_left) {
    const int log2_size = size == 16 ? 4 : 3;
    int sum = 0;
    int edges = 0;
    if (has_above) {
        for (int c = 0; c < size; ++c) sum += frame_at[c - stride];
        ++edges;
    }
    if (has_left) {
        for (int r = 0; r < size; ++r) sum += frame_at[r * stride - 1];
        ++edges;
    }
    if (edges == 0) return 128;
    const int shift = log2_size - 1 + edges;
    return (sum + (1 << (shift - 1))) >> shift;
}

}  // namespace

void predict_intra_block(int mode, const uint8_t* frame_at, int stride, int size, bool has_above,
                         bool has_left, uint8_t* dst, int dst_pitch) {
    const uint8_t* above = frame_at - stride;
    switch (mode) {
        case DC_PRED: {
            const int value = dc_value(frame_at, stride, size, has_above, has_left);
            for (int r = 0; r < size; ++r) std::memset(dst + r * dst_pitch, value, size);
            break;
        }
        case V_PRED:
            for (int r = 0; r < size; ++r) std::memmove(dst + r * dst_pitch, above, size);
            break;
        case H_PRED:
            for (int r = 0; r < size; ++r)
                std::memset(dst + r * dst_pitch, frame_at[r * stride - 1], size);
            break;
        default: {  // TM_PRED
            const int corner = above[-1];
            for (int r = 0; r < size; ++r) {
                const int left = frame_at[r * stride - 1];
                uint8_t* out = dst + r * dst_pitch;
                for (int c = 0; c < size; ++c) out[c] = clamp255(left + above[c] - corner);
            }
            break;
        }
    }
}

void predict_luma16_to_frame(int mode, uint8_t* frame_at, int stride, bool has_above,
                             bool has_left) {
    predict_intra_block(mode, frame_at, stride, 16, has_above, has_left, frame_at, stride);
}

void predict_subblock(int mode, const uint8_t* frame_at, int stride, uint8_t* dst, int dst_pitch) {
    // top[0] is the corner, top[1..8] the above and above-right samples.
    int top[9];
    for (int i = 0; i < 9; ++i) top[i] = frame_at[i - 1 - stride];
    const int* a = top + 1;
    int l[4];
    for (int r = 0; r < 4; ++r) l[r] = frame_at[r * stride - 1];
    const int p = top[0];
    // The edge from the bottom-left sample up to the corner and along the top.
    const int e[9] = {l[3], l[2], l[1], l[0], p, a[0], a[1], a[2], a[3]};
    uint8_t b[4][4];
    switch (mode) {
        case B_DC_PRED: {
            int sum = 4;
            for (int i = 0; i < 4; ++i) sum += a[i] + l[i];
            std::memset(b, sum >> 3, sizeof(b));
            break;
        }
        case B_TM_PRED:
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) b[r][c] = clamp255(l[r] + a[c] - p);
            break;
        case B_VE_PRED:
            for (int c = 0; c < 4; ++c) {
                const uint8_t v = avg3(top[c], a[c], a[c + 1]);
                for (int r = 0; r < 4; ++r) b[r][c] = v;
            }
            break;
        case B_HE_PRED: {
            const uint8_t rows[4] = {avg3(p, l[0], l[1]), avg3(l[0], l[1], l[2]),
                                     avg3(l[1], l[2], l[3]), avg3(l[2], l[3], l[3])};
            for (int r = 0; r < 4; ++r) std::memset(b[r], rows[r], 4);
            break;
        }
        case B_LD_PRED:
            // Lines of slope -1: sample (r, c) on diagonal r + c.
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    const int d = r + c;
                    b[r][c] = d < 6 ? avg3(a[d], a[d + 1], a[d + 2]) : avg3(a[6], a[7], a[7]);
                }
            break;
        case B_RD_PRED:
            // Lines of slope +1: sample (r, c) takes the edge around index 4 - r + c.
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    const int i = 4 - r + c;
                    b[r][c] = avg3(e[i - 1], e[i], e[i + 1]);
                }
            break;
        case B_VR_PRED:
            b[3][0] = avg3(e[1], e[2], e[3]);
            b[2][0] = avg3(e[2], e[3], e[4]);
            b[3][1] = b[1][0] = avg3(e[3], e[4], e[5]);
            b[2][1] = b[0][0] = avg2(e[4], e[5]);
            b[3][2] = b[1][1] = avg3(e[4], e[5], e[6]);
            b[2][2] = b[0][1] = avg2(e[5], e[6]);
            b[3][3] = b[1][2] = avg3(e[5], e[6], e[7]);
            b[2][3] = b[0][2] = avg2(e[6], e[7]);
            b[1][3] = avg3(e[6], e[7], e[8]);
            b[0][3] = avg2(e[7], e[8]);
            break;
        case B_VL_PRED:
            b[0][0] = avg2(a[0], a[1]);
            b[1][0] = avg3(a[0], a[1], a[2]);
            b[2][0] = b[0][1] = avg2(a[1], a[2]);
            b[1][1] = b[3][0] = avg3(a[1], a[2], a[3]);
            b[2][1] = b[0][2] = avg2(a[2], a[3]);
            b[3][1] = b[1][2] = avg3(a[2], a[3], a[4]);
            b[2][2] = b[0][3] = avg2(a[3], a[4]);
            b[3][2] = b[1][3] = avg3(a[3], a[4], a[5]);
            b[2][3] = avg3(a[4], a[5], a[6]);
            b[3][3] = avg3(a[5], a[6], a[7]);
            break;
        case B_HD_PRED:
            b[3][0] = avg2(e[0], e[1]);
            b[3][1] = avg3(e[0], e[1], e[2]);
            b[2][0] = b[3][2] = avg2(e[1], e[2]);
            b[2][1] = b[3][3] = avg3(e[1], e[2], e[3]);
            b[2][2] = b[1][0] = avg2(e[2], e[3]);
            b[2][3] = b[1][1] = avg3(e[2], e[3], e[4]);
            b[1][2] = b[0][0] = avg2(e[3], e[4]);
            b[1][3] = b[0][1] = avg3(e[3], e[4], e[5]);
            b[0][2] = avg3(e[4], e[5], e[6]);
            b[0][3] = avg3(e[5], e[6], e[7]);
            break;
        default:  // B_HU_PRED
            b[0][0] = avg2(l[0], l[1]);
            b[0][1] = avg3(l[0], l[1], l[2]);
            b[0][2] = b[1][0] = avg2(l[1], l[2]);
            b[0][3] = b[1][1] = avg3(l[1], l[2], l[3]);
            b[1][2] = b[2][0] = avg2(l[2], l[3]);
            b[1][3] = b[2][1] = avg3(l[2], l[3], l[3]);
            b[2][2] = b[2][3] = b[3][0] = b[3][1] = b[3][2] = b[3][3] = static_cast<uint8_t>(l[3]);
            break;
    }
    for (int r = 0; r < 4; ++r) std::memcpy(dst + r * dst_pitch, b[r], 4);
}

}  // namespace vp8
