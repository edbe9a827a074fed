#include "vp8module/picture_cache.h"

#include <unistd.h>

namespace tavimor {

namespace {

// Hands each plane over in one piece when its rows lie back to back (as in
// every picture the decoder and the module allocate), else row by row.
template <typename Transfer>
bool transfer_plane(uint8_t* const* rows, int width, int height, Transfer transfer) {
    if (height <= 0) return true;
    bool contiguous = true;
    for (int r = 1; r < height && contiguous; ++r)
        contiguous = rows[r] == rows[0] + static_cast<size_t>(r) * width;
    if (contiguous) return transfer(rows[0], static_cast<size_t>(width) * height);
    for (int r = 0; r < height; ++r)
        if (!transfer(rows[r], static_cast<size_t>(width))) return false;
    return true;
}

template <typename Transfer>
bool for_each_plane_row(const vp8::PlanarPicture& picture, Transfer transfer) {
    if (!transfer_plane(picture.luma_rows, picture.width, picture.height, transfer)) return false;
    if (!picture.chroma_rows) return true;
    for (int plane = 0; plane < 2; ++plane)
        if (!transfer_plane(picture.chroma_rows[plane], picture.chroma_width, picture.chroma_height,
                            transfer))
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

bool PictureCache::store(const vp8::PlanarPicture* const pictures[3], const int64_t offsets[3]) {
    bool ok = true;
    for (int n = 0; n < 3; ++n) {
        std::FILE* file = files_[n];
        ok &= std::fseek(file, static_cast<long>(offsets[n]), SEEK_SET) == 0;
        ok &= for_each_plane_row(*pictures[n], [file](const uint8_t* row, size_t size) {
            return std::fwrite(row, 1, size, file) == size;
        });
        ok &= std::fflush(file) == 0;
    }
    return ok;
}

bool PictureCache::truncate(const int64_t lengths[3]) {
    bool ok = true;
    for (int n = 0; n < 3; ++n)
        ok &= std::fflush(files_[n]) == 0 && ::ftruncate(::fileno(files_[n]), lengths[n]) == 0;
    return ok;
}

int64_t PictureCache::bytes_of(const vp8::PlanarPicture& picture) {
    const int64_t chroma =
        picture.chroma_rows ? int64_t{picture.chroma_width} * picture.chroma_height : 0;
    return int64_t{picture.width} * picture.height + 2 * chroma;
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
