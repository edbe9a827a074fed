#include "vp8module/frame_table.h"

#include <algorithm>

namespace tavimor {

FrameTableEntry& FrameTable::fill(size_t index) {
    if (index >= entries_.size()) entries_.resize(std::max(index + 1, 2 * entries_.size()));
    return entries_[index];
}

}  // namespace tavimor
