#include "vp8module/gathered_io.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace tavimor {

namespace {

ssize_t move_bytes(int fd, const iovec* pieces, int count, int64_t offset, bool writing) {
    if (offset < 0) return writing ? ::writev(fd, pieces, count) : ::readv(fd, pieces, count);
    return writing ? ::pwritev(fd, pieces, count, offset) : ::preadv(fd, pieces, count, offset);
}

bool transfer(int fd, Pieces& pieces, int64_t offset, bool writing) {
    size_t next = 0;
    while (next < pieces.size()) {
        const int count = static_cast<int>(std::min<size_t>(pieces.size() - next, IOV_MAX));
        const ssize_t done = move_bytes(fd, &pieces[next], count, offset, writing);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        if (offset >= 0) offset += done;
        for (size_t left = static_cast<size_t>(done); left > 0;) {
            iovec& piece = pieces[next];
            const size_t taken = std::min(left, piece.iov_len);
            piece.iov_base = static_cast<uint8_t*>(piece.iov_base) + taken;
            piece.iov_len -= taken;
            left -= taken;
            if (piece.iov_len == 0) ++next;
        }
        while (next < pieces.size() && pieces[next].iov_len == 0) ++next;
    }
    return true;
}

}  // namespace

void add_piece(Pieces& pieces, const void* data, size_t size) {
    if (size == 0) return;
    auto* bytes = const_cast<uint8_t*>(static_cast<const uint8_t*>(data));
    if (!pieces.empty()) {
        iovec& last = pieces.back();
        if (static_cast<uint8_t*>(last.iov_base) + last.iov_len == bytes) {
            last.iov_len += size;
            return;
        }
    }
    pieces.push_back({bytes, size});
}

bool write_pieces(int fd, Pieces& pieces, int64_t offset) {
    return transfer(fd, pieces, offset, true);
}

bool read_pieces(int fd, Pieces& pieces, int64_t offset) {
    return transfer(fd, pieces, offset, false);
}

}  // namespace tavimor
