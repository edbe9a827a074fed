#include "display/yuv_row.h"

#include <algorithm>
#include <cstring>

#include "display/pixel_format.h"
#include "display/yuv_to_rgb.h"

namespace tavimor {

void yuv_row_plain(const YuvRow& row, uint8_t* out) {
    yuv_pixels_plain(row, 0, out);
}

void yuv_pixels_plain(const YuvRow& row, int first, uint8_t* out) {
    for (int x = first; x < row.width; ++x) {
        const int c = std::min(x / 2, row.chroma_width - 1);
        const Rgb colour = yuv_to_rgb(row.y[x], row.u[c], row.v[c], row.component_mask);
        const uint32_t pixel = pack_pixel(colour.red, colour.green, colour.blue, 4);
        std::memcpy(out + static_cast<size_t>(x) * 4, &pixel, 4);
    }
}

YuvRowFunction yuv_row_function() {
    static const YuvRowFunction chosen =
        __builtin_cpu_supports("avx2") ? yuv_row_avx2 : yuv_row_plain;
    return chosen;
}

}  // namespace tavimor
