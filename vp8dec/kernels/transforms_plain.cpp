// Plain inverse transforms and dequantisation.
#include <algorithm>
#include <cstring>

#include "vp8dec/kernels/kernel_table.h"
#include "vp8dec/kernels/plain_kernels.h"

namespace vp8::plain {

namespace {

constexpr int kCos8Sqrt2Minus1 = 20091;  // sqrt(2) * cos(pi / 8) - 1, 16-bit fixed point
constexpr int kSin8Sqrt2 = 35468;        // sqrt(2) * sin(pi / 8)

inline int mul_cos(int x) {
    return x + ((x * kCos8Sqrt2Minus1) >> 16);
}
inline int mul_sin(int x) {
    return (x * kSin8Sqrt2) >> 16;
}

}  // namespace

void inverse_dct_4x4(const int16_t* in, int16_t* out, int pitch) {
    int16_t columns[16];
    for (int i = 0; i < 4; ++i) {
        const int a = in[i] + in[8 + i];
        const int b = in[i] - in[8 + i];
        const int c = mul_sin(in[4 + i]) - mul_cos(in[12 + i]);
        const int d = mul_cos(in[4 + i]) + mul_sin(in[12 + i]);
        columns[i] = static_cast<int16_t>(a + d);
        columns[12 + i] = static_cast<int16_t>(a - d);
        columns[4 + i] = static_cast<int16_t>(b + c);
        columns[8 + i] = static_cast<int16_t>(b - c);
    }
    for (int i = 0; i < 4; ++i) {
        const int16_t* row = columns + 4 * i;
        const int a = row[0] + row[2];
        const int b = row[0] - row[2];
        const int c = mul_sin(row[1]) - mul_cos(row[3]);
        const int d = mul_cos(row[1]) + mul_sin(row[3]);
        int16_t* o = out + i * pitch;
        o[0] = static_cast<int16_t>((a + d + 4) >> 3);
        o[3] = static_cast<int16_t>((a - d + 4) >> 3);
        o[1] = static_cast<int16_t>((b + c + 4) >> 3);
        o[2] = static_cast<int16_t>((b - c + 4) >> 3);
    }
}

void inverse_dct_dc(int dc, int16_t* out, int pitch) {
    const auto value = static_cast<int16_t>((static_cast<int16_t>(dc) + 4) >> 3);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out[r * pitch + c] = value;
}

void inverse_wht_dc(const int16_t* in, int16_t* out) {
    const auto value = static_cast<int16_t>((in[0] + 3) >> 3);
    for (int i = 0; i < 16; ++i) out[i] = value;
}

void inverse_wht_4x4(const int16_t* in, int16_t* out) {
    int16_t columns[16];
    for (int i = 0; i < 4; ++i) {
        const int a = in[i] + in[12 + i];
        const int b = in[4 + i] + in[8 + i];
        const int c = in[4 + i] - in[8 + i];
        const int d = in[i] - in[12 + i];
        columns[i] = static_cast<int16_t>(a + b);
        columns[4 + i] = static_cast<int16_t>(c + d);
        columns[8 + i] = static_cast<int16_t>(a - b);
        columns[12 + i] = static_cast<int16_t>(d - c);
    }
    for (int i = 0; i < 4; ++i) {
        const int16_t* row = columns + 4 * i;
        const int a = row[0] + row[3];
        const int b = row[1] + row[2];
        const int c = row[1] - row[2];
        const int d = row[0] - row[3];
        int16_t* o = out + 4 * i;
        o[0] = static_cast<int16_t>((a + b + 3) >> 3);
        o[1] = static_cast<int16_t>((c + d + 3) >> 3);
        o[2] = static_cast<int16_t>((a - b + 3) >> 3);
        o[3] = static_cast<int16_t>((d - c + 3) >> 3);
    }
}

void scale_block(const int16_t* levels, const int16_t* factors, int16_t* out) {
    for (int i = 0; i < 16; ++i) out[i] = static_cast<int16_t>(levels[i] * factors[i]);
}

void scale_and_inverse_dct(int16_t* levels, const int16_t* factors, int16_t* out, int pitch) {
    int16_t dequantised[16];
    scale_block(levels, factors, dequantised);
    inverse_dct_4x4(dequantised, out, pitch);
    std::memset(levels, 0, 16 * sizeof(int16_t));
}

void scale_and_inverse_dct_with_dc(int16_t* levels, const int16_t* factors, int16_t* out, int pitch,
                                   int dc) {
    int16_t dequantised[16];
    scale_block(levels, factors, dequantised);
    dequantised[0] = static_cast<int16_t>(dc);
    inverse_dct_4x4(dequantised, out, pitch);
    std::memset(levels, 0, 16 * sizeof(int16_t));
}

void scale_inverse_dct_add(int16_t* levels, const int16_t* factors, int dc, uint8_t* dst,
                           int stride) {
    int16_t dequantised[16];
    scale_block(levels, factors, dequantised);
    dequantised[0] = static_cast<int16_t>(dc);
    int16_t residual[16];
    inverse_dct_4x4(dequantised, residual, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            dst[r * stride + c] =
                static_cast<uint8_t>(std::clamp(dst[r * stride + c] + residual[r * 4 + c], 0, 255));
    std::memset(levels, 0, 16 * sizeof(int16_t));
}

}  // namespace vp8::plain
