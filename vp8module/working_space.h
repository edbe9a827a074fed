// The budget of the working files: the pictures the picture cache and the
// analysis files hold, where each of their six pieces lies, and which
// pictures give their space back when a new one does not fit: those farthest
// from the picture shown.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "vp8module/file_space.h"

namespace tavimor {

// The six working files: the picture cache's three, then the header trace,
// the macroblock information and the coefficient file.
enum WorkingFile : int {
    kFinalPictures,
    kPreLoopFilterPictures,
    kPredictedPictures,
    kHeaderTrace,
    kMbInfo,
    kCoefficients,
    kWorkingFileCount
};

struct StoredPiece {
    int64_t offset = 0;
    int64_t length = 0;
};
using StoredPieces = std::array<StoredPiece, kWorkingFileCount>;
using PieceLengths = std::array<int64_t, kWorkingFileCount>;

class WorkingSpace {
  public:
    // Empties the space and sets the budget in bytes.
    void reset(int64_t budget);

    // Drops the stored pictures farthest from `shown` until `needed` more
    // bytes fit within the budget, or none is left; returns the pictures
    // dropped.
    std::vector<int> make_room(int64_t needed, int shown);
    // Places the pieces of a picture, reusing freed space first; a picture
    // stored before is dropped first.
    StoredPieces store(int picture, const PieceLengths& lengths);
    void drop(int picture);

    bool stored(int picture) const { return pictures_.count(picture) != 0; }
    int stored_count() const { return static_cast<int>(pictures_.size()); }
    int64_t used() const;
    int64_t budget() const { return budget_; }
    // How long a file must be for the pieces in it.
    int64_t end(int file) const { return spaces_[file].end(); }

  private:
    std::array<FileSpace, kWorkingFileCount> spaces_;
    std::map<int, StoredPieces> pictures_;
    int64_t budget_ = 0;
};

// The default budget: the smaller of 4 GB and half the space free for the
// working files' folder (4 GB when the free space cannot be read); a limit
// in megabytes above 0 replaces it.
int64_t working_files_budget(const char* folder, int64_t limit_mb);

}  // namespace tavimor
