#include "vp8module/file_space.h"

#include <iterator>

namespace tavimor {

int64_t FileSpace::place(int64_t length) {
    used_ += length;
    for (auto range = free_.begin(); range != free_.end(); ++range) {
        if (range->second < length) continue;
        const int64_t offset = range->first;
        const int64_t rest = range->second - length;
        free_.erase(range);
        if (rest > 0) free_.emplace(offset + length, rest);
        return offset;
    }
    const int64_t offset = end_;
    end_ += length;
    return offset;
}

void FileSpace::release(int64_t offset, int64_t length) {
    if (length <= 0) return;
    used_ -= length;
    auto next = free_.lower_bound(offset);
    if (next != free_.end() && offset + length == next->first) {
        length += next->second;
        next = free_.erase(next);
    }
    if (next != free_.begin()) {
        auto before = std::prev(next);
        if (before->first + before->second == offset) {
            offset = before->first;
            length += before->second;
            free_.erase(before);
        }
    }
    if (offset + length == end_)
        end_ = offset;
    else
        free_.emplace(offset, length);
}

void FileSpace::clear() {
    free_.clear();
    end_ = 0;
    used_ = 0;
}

}  // namespace tavimor
