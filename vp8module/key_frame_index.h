// Where the key frames of a stream lie, noted while reading forward, so that
// any picture can be decoded again from the nearest key frame before it.
#pragma once

#include <cstdint>
#include <vector>

namespace tavimor {

struct KeyFrame {
    int picture;       // the index of the first picture decoded from it
    int64_t position;  // of its 12-byte frame header in the IVF file
};

class KeyFrameIndex {
  public:
    void clear() { keys_.clear(); }
    // Notes a key frame (once, however often it is read).
    void note(int picture, int64_t position);
    // The last key frame whose first picture is at or before `picture`; null
    // when there is none.
    const KeyFrame* at_or_before(int picture) const;

  private:
    std::vector<KeyFrame> keys_;  // by position, and so by picture
};

}  // namespace tavimor
