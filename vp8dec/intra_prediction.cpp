#include "vp8dec/intra_prediction.h"

#include <algorithm>
#include <cstring>

#include "vp8dec/mb_modes.h"

namespace vp8 {

namespace {

inline uint8_t clamp255(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}
inline uint32_t avg2(int x, int y) {
    return static_cast<uint32_t>((x + y + 1) >> 1);
}
inline uint32_t avg3(int x, int y, int z) {
    return static_cast<uint32_t>((x + 2 * y + z + 2) >> 2);
}

// The rows are stored from registers: a prediction assembled byte by byte in
// memory and then copied as words would stall on store forwarding.
inline void put_row(uint8_t* row, uint32_t b0, uint32_t b1, uint32_t b2, uint32_t b3) {
    const uint32_t word = b0 | b1 << 8 | b2 << 16 | b3 << 24;
    std::memcpy(row, &word, 4);
}
inline void put_word(uint8_t* row, uint32_t word) {
    std::memcpy(row, &word, 4);
}
inline uint32_t splat4(uint32_t value) {
    return value * 0x01010101u;
}
// Byte values packed into one word, the first in the lowest byte.
template <typename... Bytes>
uint64_t pack_bytes(Bytes... values) {
    uint64_t word = 0;
    int shift = 0;
    ((word |= uint64_t{values} << shift, shift += 8), ...);
    return word;
}

template <int Size>
int dc_value(const uint8_t* at, int stride, bool has_above, bool has_left) {
    constexpr int log2_size = Size == 16 ? 4 : 3;
    int sum = 0;
    int edges = 0;
    if (has_above) {
        for (int c = 0; c < Size; ++c) sum += at[c - stride];
        ++edges;
    }
    if (has_left) {
        for (int r = 0; r < Size; ++r) sum += at[r * stride - 1];
        ++edges;
    }
    if (edges == 0) return 128;
    const int shift = log2_size - 1 + edges;
    return (sum + (1 << (shift - 1))) >> shift;
}

// In place: every predictor reads only the row above and the column to the
// left, which lie outside the block it writes.
template <int Size>
void predict_block(int mode, uint8_t* at, int stride, bool has_above, bool has_left) {
    const uint8_t* above = at - stride;
    switch (mode) {
        case DC_PRED: {
            const int value = dc_value<Size>(at, stride, has_above, has_left);
            for (int r = 0; r < Size; ++r) std::memset(at + r * stride, value, Size);
            break;
        }
        case V_PRED: {
            uint8_t row[Size];
            std::memcpy(row, above, Size);
            for (int r = 0; r < Size; ++r) std::memcpy(at + r * stride, row, Size);
            break;
        }
        case H_PRED:
            for (int r = 0; r < Size; ++r) std::memset(at + r * stride, at[r * stride - 1], Size);
            break;
        default: {  // TM_PRED
            int16_t top[Size];
            const int corner = above[-1];
            for (int c = 0; c < Size; ++c) top[c] = static_cast<int16_t>(above[c] - corner);
            for (int r = 0; r < Size; ++r) {
                uint8_t* out = at + r * stride;
                const int left = out[-1];
                for (int c = 0; c < Size; ++c) out[c] = clamp255(left + top[c]);
            }
            break;
        }
    }
}

// Sample (r, c) of the diagonal modes lies on a line of the edge; `diagonal`
// holds one value per line, lowest line in the lowest byte, and row r starts
// `first` lines in.
inline void put_diagonal_rows(uint8_t* at, int stride, uint64_t diagonal, const int (&first)[4]) {
    for (int r = 0; r < 4; ++r)
        put_word(at + r * stride, static_cast<uint32_t>(diagonal >> (8 * first[r])));
}

}  // namespace

void predict_luma16_to_frame(int mode, uint8_t* at, int stride, bool has_above, bool has_left) {
    predict_block<16>(mode, at, stride, has_above, has_left);
}

void predict_chroma_to_frame(int mode, uint8_t* at, int stride, bool has_above, bool has_left) {
    predict_block<8>(mode, at, stride, has_above, has_left);
}

void predict_subblock_to_frame(int mode, uint8_t* at, int stride) {
    const uint8_t* above = at - stride;
    const int p = above[-1];
    const int a0 = above[0], a1 = above[1], a2 = above[2], a3 = above[3];
    const int l0 = at[-1], l1 = at[stride - 1], l2 = at[2 * stride - 1], l3 = at[3 * stride - 1];
    uint8_t* r0 = at;
    uint8_t* r1 = at + stride;
    uint8_t* r2 = at + 2 * stride;
    uint8_t* r3 = at + 3 * stride;
    switch (mode) {
        case B_DC_PRED: {
            const uint32_t word = splat4((a0 + a1 + a2 + a3 + l0 + l1 + l2 + l3 + 4) >> 3);
            for (uint8_t* row : {r0, r1, r2, r3}) put_word(row, word);
            break;
        }
        case B_TM_PRED: {
            const int left[4] = {l0, l1, l2, l3};
            for (int r = 0; r < 4; ++r)
                put_row(at + r * stride, clamp255(left[r] + a0 - p), clamp255(left[r] + a1 - p),
                        clamp255(left[r] + a2 - p), clamp255(left[r] + a3 - p));
            break;
        }
        case B_VE_PRED: {
            const int a4 = above[4];
            const auto word = static_cast<uint32_t>(
                pack_bytes(avg3(p, a0, a1), avg3(a0, a1, a2), avg3(a1, a2, a3), avg3(a2, a3, a4)));
            for (uint8_t* row : {r0, r1, r2, r3}) put_word(row, word);
            break;
        }
        case B_HE_PRED:
            put_word(r0, splat4(avg3(p, l0, l1)));
            put_word(r1, splat4(avg3(l0, l1, l2)));
            put_word(r2, splat4(avg3(l1, l2, l3)));
            put_word(r3, splat4(avg3(l2, l3, l3)));
            break;
        case B_LD_PRED: {
            // Lines of slope -1 through the above and above-right samples.
            const int a4 = above[4], a5 = above[5], a6 = above[6], a7 = above[7];
            const uint64_t lines =
                pack_bytes(avg3(a0, a1, a2), avg3(a1, a2, a3), avg3(a2, a3, a4), avg3(a3, a4, a5),
                           avg3(a4, a5, a6), avg3(a5, a6, a7), avg3(a6, a7, a7));
            put_diagonal_rows(at, stride, lines, {0, 1, 2, 3});
            break;
        }
        case B_RD_PRED: {
            // Lines of slope +1 along the edge from the bottom-left sample,
            // round the corner, to the last above sample.
            const uint64_t lines =
                pack_bytes(avg3(l3, l2, l1), avg3(l2, l1, l0), avg3(l1, l0, p), avg3(l0, p, a0),
                           avg3(p, a0, a1), avg3(a0, a1, a2), avg3(a1, a2, a3));
            put_diagonal_rows(at, stride, lines, {3, 2, 1, 0});
            break;
        }
        case B_VR_PRED:
            put_row(r0, avg2(p, a0), avg2(a0, a1), avg2(a1, a2), avg2(a2, a3));
            put_row(r1, avg3(l0, p, a0), avg3(p, a0, a1), avg3(a0, a1, a2), avg3(a1, a2, a3));
            put_row(r2, avg3(l1, l0, p), avg2(p, a0), avg2(a0, a1), avg2(a1, a2));
            put_row(r3, avg3(l2, l1, l0), avg3(l0, p, a0), avg3(p, a0, a1), avg3(a0, a1, a2));
            break;
        case B_VL_PRED: {
            const int a4 = above[4], a5 = above[5], a6 = above[6], a7 = above[7];
            put_row(r0, avg2(a0, a1), avg2(a1, a2), avg2(a2, a3), avg2(a3, a4));
            put_row(r1, avg3(a0, a1, a2), avg3(a1, a2, a3), avg3(a2, a3, a4), avg3(a3, a4, a5));
            put_row(r2, avg2(a1, a2), avg2(a2, a3), avg2(a3, a4), avg3(a4, a5, a6));
            put_row(r3, avg3(a1, a2, a3), avg3(a2, a3, a4), avg3(a3, a4, a5), avg3(a5, a6, a7));
            break;
        }
        case B_HD_PRED:
            put_row(r0, avg2(l0, p), avg3(l0, p, a0), avg3(p, a0, a1), avg3(a0, a1, a2));
            put_row(r1, avg2(l1, l0), avg3(l1, l0, p), avg2(l0, p), avg3(l0, p, a0));
            put_row(r2, avg2(l2, l1), avg3(l2, l1, l0), avg2(l1, l0), avg3(l1, l0, p));
            put_row(r3, avg2(l3, l2), avg3(l3, l2, l1), avg2(l2, l1), avg3(l2, l1, l0));
            break;
        default:  // B_HU_PRED
            put_row(r0, avg2(l0, l1), avg3(l0, l1, l2), avg2(l1, l2), avg3(l1, l2, l3));
            put_row(r1, avg2(l1, l2), avg3(l1, l2, l3), avg2(l2, l3), avg3(l2, l3, l3));
            put_row(r2, avg2(l2, l3), avg3(l2, l3, l3), l3, l3);
            put_word(r3, splat4(l3));
            break;
    }
}

}  // namespace vp8
