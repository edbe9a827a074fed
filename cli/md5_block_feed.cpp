#include "cli/md5_block_feed.h"

#include <algorithm>
#include <cstring>

namespace tavimor {

Md5BlockFeed::Md5BlockFeed(const Md5Pieces& pieces) : pieces_(&pieces) {
    for (const auto& piece : pieces) total_ += piece.second;
    blocks_ = (total_ + 8) / 64 + 1;
}

const uint8_t* Md5BlockFeed::next() {
    skip_used_pieces();
    const Md5Pieces& pieces = *pieces_;
    if (piece_ < pieces.size() && pieces[piece_].second - offset_ >= 64) {
        const uint8_t* block = pieces[piece_].first + offset_;
        offset_ += 64;
        consumed_ += 64;
        return block;
    }
    return assembled();
}

void Md5BlockFeed::skip_used_pieces() {
    const Md5Pieces& pieces = *pieces_;
    while (piece_ < pieces.size() && offset_ == pieces[piece_].second) {
        ++piece_;
        offset_ = 0;
    }
}

const uint8_t* Md5BlockFeed::assembled() {
    const Md5Pieces& pieces = *pieces_;
    size_t filled = 0;
    while (filled < 64 && consumed_ < total_) {
        skip_used_pieces();
        const size_t take = std::min(64 - filled, pieces[piece_].second - offset_);
        std::memcpy(staging_ + filled, pieces[piece_].first + offset_, take);
        filled += take;
        offset_ += take;
        consumed_ += take;
    }
    if (filled < 64) {
        // The message ends in this block: the 1 bit once, then zeros, and the
        // length in the block that has room left for it.
        if (!marked_) {
            staging_[filled++] = 0x80;
            marked_ = true;
        }
        std::memset(staging_ + filled, 0, 64 - filled);
        if (filled <= 56) {
            const uint64_t bits = total_ * 8;
            for (int i = 0; i < 8; ++i) staging_[56 + i] = static_cast<uint8_t>(bits >> (8 * i));
        }
    }
    return staging_;
}

}  // namespace tavimor
