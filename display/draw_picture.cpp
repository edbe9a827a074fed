// Converting a planar 4:2:0 picture into the picture surface.
#include <algorithm>
#include <cstring>
#include <vector>

#include "display/pixel_format.h"
#include "display/video_display.h"
#include "display/yuv_row.h"

namespace tavimor {

namespace {

constexpr uint8_t kNeutralChroma[1] = {128};

// Luma row r with its chroma: pictures of odd size, or whose chroma planes
// are smaller than half the luma size, repeat their last chroma row and
// column; a picture without chroma is neutral grey.
YuvRow row_of(const PlanarPicture& picture, int r, int width, int component_mask) {
    YuvRow row{picture.luma_rows[r], kNeutralChroma, kNeutralChroma, width, 1, component_mask};
    if (!picture.chroma_rows || picture.chroma_width <= 0 || picture.chroma_height <= 0 ||
        !picture.chroma_rows[0] || !picture.chroma_rows[1])
        return row;
    const int chroma_row = std::min(r / 2, picture.chroma_height - 1);
    row.u = picture.chroma_rows[0][chroma_row];
    row.v = picture.chroma_rows[1][chroma_row];
    row.chroma_width = picture.chroma_width;
    return row;
}

// Repacks 4-byte pixels (B, G, R, 0) for a surface of 2 or 3 bytes per pixel.
void repack(const std::vector<uint8_t>& pixels, int width, int bytes, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const uint8_t* at = &pixels[static_cast<size_t>(x) * 4];
        const uint32_t p = at[0] | at[1] << 8 | at[2] << 16;
        const uint32_t value = pack_pixel(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, bytes);
        for (int i = 0; i < bytes; ++i)
            out[static_cast<size_t>(x) * bytes + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

void display_draw_picture(VideoDisplay* display, const PlanarPicture* picture, int component_mask,
                          int vertical_zoom) {
    if (!display || !display->platform || !display->primary || !display->picture || !picture)
        return;
    Surface& surface = *display->picture;
    int bytes = surface.bytes_per_pixel;
    if (bytes < 2 || bytes > 4) return;
    int zoom = std::max(vertical_zoom, 1);
    int rows = picture->luma_rows ? std::max(picture->height, 0) : 0;
    // Only what fits in the surface is drawn.
    int width = std::min(std::max(picture->width, 0), surface.width);
    size_t row_bytes = static_cast<size_t>(width) * bytes;
    const YuvRowFunction convert = yuv_row_function();
    std::vector<uint8_t> converted(bytes == 4 ? 0 : static_cast<size_t>(width) * 4);
    int k = 0;
    for (int r = 0; r < rows && k < surface.height; ++r) {
        const YuvRow row = row_of(*picture, r, width, component_mask);
        if (bytes == 4) {
            convert(row, surface.row(k));
        } else {
            convert(row, converted.data());
            repack(converted, width, bytes, surface.row(k));
        }
        for (int copy = 1; copy < zoom && k + copy < surface.height; ++copy) {
            std::memcpy(surface.row(k + copy), surface.row(k), row_bytes);
        }
        k += zoom;
    }
    for (int y = k; y < surface.height; ++y) std::memset(surface.row(y), 0xFF, surface.pitch);
}

}  // namespace tavimor
