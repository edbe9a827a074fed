#include "vp8dec/planar_picture.h"

#include <cstdlib>
#include <cstring>

namespace vp8 {

namespace {

uint8_t** allocate_rows(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto** rows =
        static_cast<uint8_t**>(std::calloc(static_cast<size_t>(height), sizeof(uint8_t*)));
    if (!rows) return nullptr;
    auto* block = static_cast<uint8_t*>(
        std::calloc(static_cast<size_t>(width) * static_cast<size_t>(height), 1));
    if (!block) {
        std::free(rows);
        return nullptr;
    }
    for (int i = 0; i < height; ++i) rows[i] = block + static_cast<size_t>(i) * width;
    return rows;
}

void free_rows(uint8_t** rows) {
    if (!rows) return;
    std::free(rows[0]);
    std::free(rows);
}

}  // namespace

bool allocate_planar_picture(PlanarPicture& picture, int width, int height, int chroma_width,
                             int chroma_height) {
    std::memset(&picture, 0, sizeof(picture));
    uint8_t** luma = allocate_rows(width, height);
    if (!luma) return false;
    uint8_t*** chroma = nullptr;
    if (chroma_width > 0 && chroma_height > 0) {
        chroma = static_cast<uint8_t***>(std::calloc(2, sizeof(uint8_t**)));
        if (chroma) {
            chroma[0] = allocate_rows(chroma_width, chroma_height);
            chroma[1] = chroma[0] ? allocate_rows(chroma_width, chroma_height) : nullptr;
        }
        if (!chroma || !chroma[1]) {
            if (chroma) free_rows(chroma[0]);
            std::free(chroma);
            free_rows(luma);
            return false;
        }
    }
    picture.width = width;
    picture.height = height;
    picture.luma_row_length = width;
    picture.chroma_width = chroma ? chroma_width : 0;
    picture.chroma_height = chroma ? chroma_height : 0;
    picture.chroma_row_length = chroma ? chroma_width : 0;
    picture.luma_rows = luma;
    picture.chroma_rows = chroma;
    return true;
}

void release_planar_picture(PlanarPicture& picture) {
    free_rows(picture.luma_rows);
    if (picture.chroma_rows) {
        free_rows(picture.chroma_rows[0]);
        free_rows(picture.chroma_rows[1]);
        std::free(picture.chroma_rows);
    }
    std::memset(&picture, 0, sizeof(picture));
}

}  // namespace vp8
