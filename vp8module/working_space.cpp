#include "vp8module/working_space.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cstdlib>

namespace tavimor {

namespace {

constexpr int64_t kMegabyte = int64_t{1} << 20;
constexpr int64_t kDefaultBudget = int64_t{4} << 30;

}  // namespace

void WorkingSpace::reset(int64_t budget) {
    for (FileSpace& space : spaces_) space.clear();
    pictures_.clear();
    budget_ = budget;
}

int64_t WorkingSpace::used() const {
    int64_t sum = 0;
    for (const FileSpace& space : spaces_) sum += space.used();
    return sum;
}

std::vector<int> WorkingSpace::make_room(int64_t needed, int shown) {
    std::vector<int> dropped;
    while (!pictures_.empty() && used() + needed > budget_) {
        const int first = pictures_.begin()->first;
        const int last = pictures_.rbegin()->first;
        const int farthest = std::abs(last - shown) >= std::abs(shown - first) ? last : first;
        drop(farthest);
        dropped.push_back(farthest);
    }
    return dropped;
}

StoredPieces WorkingSpace::store(int picture, const PieceLengths& lengths) {
    drop(picture);
    StoredPieces pieces;
    for (int file = 0; file < kWorkingFileCount; ++file)
        pieces[file] = {spaces_[file].place(lengths[file]), lengths[file]};
    pictures_[picture] = pieces;
    return pieces;
}

void WorkingSpace::drop(int picture) {
    const auto found = pictures_.find(picture);
    if (found == pictures_.end()) return;
    for (int file = 0; file < kWorkingFileCount; ++file)
        spaces_[file].release(found->second[file].offset, found->second[file].length);
    pictures_.erase(found);
}

int64_t working_files_budget(const char* folder, int64_t limit_mb) {
    if (limit_mb > 0) return limit_mb * kMegabyte;
    struct statvfs info {};
    if (statvfs(folder, &info) != 0) return kDefaultBudget;
    const auto free_bytes =
        static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
    return std::min(kDefaultBudget, free_bytes / 2);
}

}  // namespace tavimor
