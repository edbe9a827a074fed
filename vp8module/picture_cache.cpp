#include "vp8module/picture_cache.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

namespace tavimor {

namespace {

using Pieces = std::vector<iovec>;

// Adds a row to the pieces, joining it to the last one when it follows it.
void add_row(Pieces& pieces, uint8_t* row, size_t size) {
    if (size == 0) return;
    if (!pieces.empty()) {
        iovec& last = pieces.back();
        if (static_cast<uint8_t*>(last.iov_base) + last.iov_len == row) {
            last.iov_len += size;
            return;
        }
    }
    pieces.push_back({row, size});
}

void add_plane(Pieces& pieces, uint8_t* const* rows, int width, int height) {
    for (int r = 0; r < height; ++r) add_row(pieces, rows[r], static_cast<size_t>(width));
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

// Writes or reads all the pieces at the offset, as many as the system takes
// in one call at a time, until every byte is through.
bool transfer(int fd, Pieces& pieces, int64_t offset, bool writing) {
    size_t next = 0;
    while (next < pieces.size()) {
        const int count = static_cast<int>(std::min<size_t>(pieces.size() - next, IOV_MAX));
        const ssize_t done = writing ? ::pwritev(fd, &pieces[next], count, offset)
                                     : ::preadv(fd, &pieces[next], count, offset);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        offset += done;
        for (size_t left = static_cast<size_t>(done); left > 0;) {
            iovec& piece = pieces[next];
            const size_t taken = std::min(left, piece.iov_len);
            piece.iov_base = static_cast<uint8_t*>(piece.iov_base) + taken;
            piece.iov_len -= taken;
            left -= taken;
            if (piece.iov_len == 0) ++next;
        }
    }
    return true;
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
        ok = transfer(files_[n], pieces_of(*pictures[n], pieces_), offsets[n], true);
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
        ok = transfer(files_[n], pieces_of(*pictures[n], pieces_), offsets[n], false);
    return ok;
}

}  // namespace tavimor
