// Pictures a caller reads in place after the decoder has moved on: the
// buffers of the last few shown pictures are not chosen for new frames, and
// when a new picture size replaces every buffer, the blocks of the held ones
// live on until one more than that many pictures have been shown.
#pragma once

#include <cstdint>

#include "vp8dec/frame_buffer.h"

namespace vp8 {

inline constexpr int kMaxHeldPictures = 8;

class HeldPictures {
  public:
    HeldPictures() = default;
    HeldPictures(const HeldPictures&) = delete;
    HeldPictures& operator=(const HeldPictures&) = delete;
    ~HeldPictures();

    // How many of the latest shown pictures are held (0 to kMaxHeldPictures).
    void set_count(int count);
    int count() const { return count_; }

    bool holds(const FrameBuffer* buffer) const;

    // Holds the buffer of a picture just shown, letting go of the oldest
    // one; retired blocks are freed once enough pictures have followed them.
    void hold_shown(FrameBuffer* buffer);

    // Before the buffers are freed for a new size: takes over the blocks of
    // the held buffers (leaving those buffers without one) and holds none.
    void retire_held();

  private:
    struct Retired {
        uint8_t* block;
        int pictures_left;  // shown pictures still to come before it is freed
    };
    void count_down_retired();

    int count_ = 0;
    int next_ = 0;  // the ring entry the next shown picture takes
    FrameBuffer* ring_[kMaxHeldPictures] = {};
    // A retired block lives count_ + 1 more pictures: while the decoder
    // decodes a frame, the reader may still be at the picture count_ shown
    // pictures back. It was held within the last count_ pictures before its
    // retirement, so at most 2 * count_ + 1 are alive.
    Retired retired_[2 * kMaxHeldPictures + 1] = {};
};

}  // namespace vp8
