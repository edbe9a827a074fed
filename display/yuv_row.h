// One row of a 4:2:0 picture converted into 4-byte surface pixels (bytes B,
// G, R, 0), with the integer conversion of yuv_to_rgb.h. The plain version defines
// the result; the AVX2 version gives the same bytes, faster.
#pragma once

#include <cstdint>

namespace tavimor {

struct YuvRow {
    const uint8_t* y;
    const uint8_t* u;  // chroma of pixel x at u[min(x / 2, chroma_width - 1)]
    const uint8_t* v;
    int width;         // pixels
    int chroma_width;  // samples in u and v, at least 1
    int component_mask;
};

using YuvRowFunction = void (*)(const YuvRow& row, uint8_t* out);

void yuv_row_plain(const YuvRow& row, uint8_t* out);
// Pixels [first, width) of the row into out[first...], as yuv_row_plain.
void yuv_pixels_plain(const YuvRow& row, int first, uint8_t* out);
void yuv_row_avx2(const YuvRow& row, uint8_t* out);

// The fastest version this processor runs.
YuvRowFunction yuv_row_function();

}  // namespace tavimor
