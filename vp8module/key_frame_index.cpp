#include "vp8module/key_frame_index.h"

#include <algorithm>

namespace tavimor {

void KeyFrameIndex::note(int picture, int64_t position) {
    const auto at =
        std::lower_bound(keys_.begin(), keys_.end(), position,
                         [](const KeyFrame& key, int64_t wanted) { return key.position < wanted; });
    if (at != keys_.end() && at->position == position) return;
    keys_.insert(at, KeyFrame{picture, position});
}

const KeyFrame* KeyFrameIndex::at_or_before(int picture) const {
    const auto after =
        std::upper_bound(keys_.begin(), keys_.end(), picture,
                         [](int wanted, const KeyFrame& key) { return wanted < key.picture; });
    return after == keys_.begin() ? nullptr : &*(after - 1);
}

}  // namespace tavimor
