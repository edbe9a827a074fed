#include "vp8module/picture_cache.h"

namespace tavimor {

namespace {

template <typename Transfer>
bool for_each_plane_row(const vp8::PlanarPicture& picture, Transfer transfer) {
    for (int r = 0; r < picture.height; ++r)
        if (!transfer(picture.luma_rows[r], static_cast<size_t>(picture.width))) return false;
    if (!picture.chroma_rows) return true;
    for (int plane = 0; plane < 2; ++plane)
        for (int r = 0; r < picture.chroma_height; ++r)
            if (!transfer(picture.chroma_rows[plane][r], static_cast<size_t>(picture.chroma_width)))
                return false;
    return true;
}

}  // namespace

bool PictureCache::open(const std::string& folder) {
    close();
    for (int n = 0; n < 3; ++n) {
        const std::string path = folder + "mbist_pic_" + std::to_string(n) + ".bin";
        files_[n] = std::fopen(path.c_str(), "w+b");
        if (!files_[n]) {
            close();
            return false;
        }
    }
    return true;
}

void PictureCache::close() {
    for (std::FILE*& file : files_) {
        if (file) std::fclose(file);
        file = nullptr;
    }
}

bool PictureCache::store(const vp8::PlanarPicture* const pictures[3], int64_t offsets[3]) {
    bool ok = true;
    for (int n = 0; n < 3; ++n) {
        std::FILE* file = files_[n];
        std::fseek(file, 0, SEEK_END);
        offsets[n] = std::ftell(file);
        ok &= for_each_plane_row(*pictures[n], [file](const uint8_t* row, size_t size) {
            return std::fwrite(row, 1, size, file) == size;
        });
        std::fflush(file);
    }
    return ok;
}

bool PictureCache::recall(const int64_t offsets[3], vp8::PlanarPicture* const pictures[3]) {
    bool ok = true;
    for (int n = 0; n < 3; ++n) {
        std::FILE* file = files_[n];
        std::fseek(file, static_cast<long>(offsets[n]), SEEK_SET);
        ok &= for_each_plane_row(*pictures[n], [file](uint8_t* row, size_t size) {
            return std::fread(row, 1, size, file) == size;
        });
    }
    return ok;
}

}  // namespace tavimor
