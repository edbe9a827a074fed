// The 64-byte blocks MD5 reads from a message given as pieces: the message,
// then its padding (a 1 bit, zeros, and the message's length in bits). A
// block lying within one piece is read in place; one across pieces, or
// holding padding, is put together in the feed first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tavimor {

using Md5Pieces = std::vector<std::pair<const uint8_t*, size_t>>;

class Md5BlockFeed {
  public:
    explicit Md5BlockFeed(const Md5Pieces& pieces);

    // The number of blocks, padding included.
    uint64_t blocks() const { return blocks_; }
    // The next block, valid until the next call.
    const uint8_t* next();

  private:
    void skip_used_pieces();
    const uint8_t* assembled();

    const Md5Pieces* pieces_;
    size_t piece_ = 0;
    size_t offset_ = 0;
    uint64_t total_ = 0;
    uint64_t consumed_ = 0;
    uint64_t blocks_ = 0;
    bool marked_ = false;
    uint8_t staging_[64];
};

}  // namespace tavimor
