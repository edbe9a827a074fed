#include "vp8module/picture_cache.h"

#include <fcntl.h>
#include <unistd.h>

namespace tavimor {

namespace {

void add_plane(Pieces& pieces, uint8_t* const* rows, int width, int height) {
    for (int r = 0; r < height; ++r) add_piece(pieces, rows[r], static_cast<size_t>(width));
}

// The picture's rows in file order: luma, then U, then V.
Pieces& pieces_of(const vp8::PlanarPicture& picture, Pieces& pieces) {
    pieces.clear();
    add_plane(pieces, picture.luma_rows, picture.width, picture.height);
    if (picture.chroma_rows)
        for (int plane = 0; plane < 2; ++plane)
            add_plane(pieces, picture.chroma_rows[plane], picture.chroma_width,
                      picture.chroma_height);
    return pieces;
}

}  // namespace

bool PictureCache::open(const std::string& folder) {
    close();
    for (int n = 0; n < 3; ++n) {
        const std::string path = folder + "mbist_pic_" + std::to_string(n) + ".bin";
        files_[n] = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (files_[n] < 0) {
            close();
            return false;
        }
    }
    return true;
}

void PictureCache::close() {
    for (int& file : files_) {
        if (file >= 0) ::close(file);
        file = -1;
    }
}

bool PictureCache::store(const vp8::PlanarPicture* const pictures[3], const int64_t offsets[3]) {
    bool ok = is_open();
    for (int n = 0; n < 3 && ok; ++n)
        ok = write_pieces(files_[n], pieces_of(*pictures[n], pieces_), offsets[n]);
    return ok;
}

bool PictureCache::truncate(const int64_t lengths[3]) {
    bool ok = is_open();
    for (int n = 0; n < 3 && ok; ++n) ok = ::ftruncate(files_[n], lengths[n]) == 0;
    return ok;
}

int64_t PictureCache::bytes_of(const vp8::PlanarPicture& picture) {
    const int64_t chroma =
        picture.chroma_rows ? int64_t{picture.chroma_width} * picture.chroma_height : 0;
    return int64_t{picture.width} * picture.height + 2 * chroma;
}

bool PictureCache::recall(const int64_t offsets[3], vp8::PlanarPicture* const pictures[3]) {
    bool ok = is_open();
    for (int n = 0; n < 3 && ok; ++n)
        ok = read_pieces(files_[n], pieces_of(*pictures[n], pieces_), offsets[n]);
    return ok;
}

}  // namespace tavimor
