// The space of one working file: which byte ranges hold data still in use and
// which were given back, so that new data reuses freed ranges before the file
// grows, and the file shrinks when its last ranges are freed.
#pragma once

#include <cstdint>
#include <map>

namespace tavimor {

class FileSpace {
  public:
    // Where `length` bytes go: the first freed range that holds them, else the
    // end of the file (which then grows by them).
    int64_t place(int64_t length);
    // Gives a placed range back. Freed ranges next to each other merge, and
    // those reaching the end shorten the file.
    void release(int64_t offset, int64_t length);
    // Forgets everything: an empty file.
    void clear();

    // The file's length as its ranges in use need it.
    int64_t end() const { return end_; }
    // Bytes in use.
    int64_t used() const { return used_; }

  private:
    std::map<int64_t, int64_t> free_;  // offset -> length, none touching the end
    int64_t end_ = 0;
    int64_t used_ = 0;
};

}  // namespace tavimor
