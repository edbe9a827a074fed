#include "vp8dec/held_pictures.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace vp8 {

HeldPictures::~HeldPictures() {
    for (Retired& retired : retired_) std::free(retired.block);
}

void HeldPictures::set_count(int count) {
    count_ = std::clamp(count, 0, kMaxHeldPictures);
}

bool HeldPictures::holds(const FrameBuffer* buffer) const {
    for (int i = 0; i < count_; ++i)
        if (ring_[i] == buffer) return true;
    return false;
}

void HeldPictures::hold_shown(FrameBuffer* buffer) {
    if (count_ == 0) return;
    ring_[next_] = buffer;
    next_ = (next_ + 1) % count_;
    count_down_retired();
}

void HeldPictures::count_down_retired() {
    for (Retired& retired : retired_) {
        if (!retired.block || --retired.pictures_left > 0) continue;
        std::free(retired.block);
        retired = {};
    }
}

void HeldPictures::retire_held() {
    for (int i = 0; i < count_; ++i) {
        FrameBuffer* buffer = ring_[i];
        ring_[i] = nullptr;
        if (!buffer || !buffer->allocation) continue;  // not held, or already taken
        Retired* free_entry = std::find_if(std::begin(retired_), std::end(retired_),
                                           [](const Retired& r) { return !r.block; });
        // Never full (see retired_); were it, the block would rather stay
        // allocated than be freed under a reader.
        if (free_entry != std::end(retired_)) *free_entry = {buffer->allocation, count_ + 1};
        buffer->allocation = nullptr;
    }
    next_ = 0;
}

}  // namespace vp8
