// Plain prediction-plus-residual kernels.
#include <algorithm>

#include "vp8dec/kernels/plain_kernels.h"

namespace vp8::plain {

namespace {

template <int W, int Pitch>
void add_residual(const uint8_t* prediction, const int16_t* residual, uint8_t* dst, int stride) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < W; ++c)
            dst[r * stride + c] = static_cast<uint8_t>(
                std::clamp(prediction[r * Pitch + c] + residual[r * Pitch + c], 0, 255));
}

}  // namespace

void add_residual_4x4(const uint8_t* p, const int16_t* r, uint8_t* d, int s) {
    add_residual<4, 16>(p, r, d, s);
}
void add_residual_8x4(const uint8_t* p, const int16_t* r, uint8_t* d, int s) {
    add_residual<8, 8>(p, r, d, s);
}
void add_residual_16x4(const uint8_t* p, const int16_t* r, uint8_t* d, int s) {
    add_residual<16, 16>(p, r, d, s);
}

void add_dc_4x4(int dc, uint8_t* dst, int stride) {
    const int value = static_cast<int16_t>((static_cast<int16_t>(dc) + 4) >> 3);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            dst[r * stride + c] =
                static_cast<uint8_t>(std::clamp(dst[r * stride + c] + value, 0, 255));
}

void add_dc_16x4(const int16_t* dc, uint8_t* dst, int stride) {
    for (int k = 0; k < 4; ++k) add_dc_4x4(dc[k], dst + 4 * k, stride);
}

}  // namespace vp8::plain
