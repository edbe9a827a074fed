// Converting a planar 4:2:0 picture into the picture surface.
#include <algorithm>
#include <cstring>

#include "display/pixel_format.h"
#include "display/video_display.h"
#include "display/yuv_to_rgb.h"

namespace tavimor {

namespace {

constexpr uint8_t kNeutralChroma = 128;

// The chroma sample for luma position (row, column). Pictures of odd size, or
// whose chroma planes are smaller than half the luma size, repeat their last
// chroma row and column; a picture without chroma is neutral grey.
uint8_t chroma_sample(const PlanarPicture& picture, int plane, int row, int column) {
    if (!picture.chroma_rows || picture.chroma_width <= 0 || picture.chroma_height <= 0)
        return kNeutralChroma;
    uint8_t** rows = picture.chroma_rows[plane];
    if (!rows) return kNeutralChroma;
    int chroma_row = std::min(row / 2, picture.chroma_height - 1);
    int chroma_column = std::min(column / 2, picture.chroma_width - 1);
    return rows[chroma_row][chroma_column];
}

void store(uint8_t* at, int bytes_per_pixel, const Rgb& colour) {
    uint32_t value = pack_pixel(colour.red, colour.green, colour.blue, bytes_per_pixel);
    for (int i = 0; i < bytes_per_pixel; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Converts picture row r into surface row k, columns below width.
void convert_row(const PlanarPicture& picture, int r, int width, int component_mask,
                 Surface& surface, int k) {
    const uint8_t* luma = picture.luma_rows[r];
    uint8_t* out = surface.row(k);
    int bytes = surface.bytes_per_pixel;
    for (int x = 0; x < width; x += 2) {
        int u = chroma_sample(picture, 0, r, x);
        int v = chroma_sample(picture, 1, r, x);
        store(out + static_cast<size_t>(x) * bytes, bytes,
              yuv_to_rgb(luma[x], u, v, component_mask));
        if (x + 1 < width) {
            store(out + static_cast<size_t>(x + 1) * bytes, bytes,
                  yuv_to_rgb(luma[x + 1], u, v, component_mask));
        }
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
    int k = 0;
    for (int r = 0; r < rows && k < surface.height; ++r) {
        convert_row(*picture, r, width, component_mask, surface, k);
        for (int copy = 1; copy < zoom && k + copy < surface.height; ++copy) {
            std::memcpy(surface.row(k + copy), surface.row(k), row_bytes);
        }
        k += zoom;
    }
    for (int y = k; y < surface.height; ++y) std::memset(surface.row(y), 0xFF, surface.pitch);
}

}  // namespace tavimor
