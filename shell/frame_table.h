// The frame table: one entry per shown picture, telling where its pictures
// and analysis lie in the cache and analysis files, so that it can be shown
// again without decoding; a picture whose space was given to others is
// marked dropped and is decoded again when shown.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavimor {

inline constexpr size_t kInitialFrameTableEntries = 512;

struct FrameTableEntry {
    int64_t cache_offset[3];  // in picture cache files 0, 1, 2
    int64_t frame_position;   // of the frame's data in the IVF file
    int64_t mbinfo_offset;
    int64_t coef_offset;
    int64_t header_text_offset;
    int64_t reserved0;
    int64_t coef_length;
    int64_t reserved1;
    int64_t header_text_length;  // the entry is valid when this is above 0
    int32_t frame_size;
    int32_t frame_flags;         // bit 0 inter frame, bit 1 segmentation enabled
    uint32_t reference_numbers;  // the four frame-number bytes of the frame's record
    // Size of the cached pictures, so that a stream that changes size recalls
    // each picture at its own size.
    int32_t picture_width;
    int32_t picture_height;
    // The frame's loop filter, for the summary of a recalled picture.
    int16_t filter_level;
    int16_t filter_type;
    // The picture's data left the working files (the frame's position and
    // size stay known).
    int32_t dropped;
};

// Starts with 512 zeroed entries and grows, zeroed, as pictures are added, so
// that any index past the end simply reads as not cached.
class FrameTable {
  public:
    FrameTable() : entries_(kInitialFrameTableEntries) {}

    // Whether the picture is in the working files.
    bool valid(size_t index) const { return reached(index) && !entries_[index].dropped; }
    // Whether the picture was decoded before.
    bool reached(size_t index) const {
        return index < entries_.size() && entries_[index].header_text_length > 0;
    }
    void drop(size_t index) {
        if (index < entries_.size()) entries_[index].dropped = 1;
    }
    const FrameTableEntry& at(size_t index) const { return entries_.at(index); }
    // The entry for a new picture, growing the table as needed.
    FrameTableEntry& fill(size_t index) {
        if (index >= entries_.size()) entries_.resize(std::max(index + 1, 2 * entries_.size()));
        return entries_[index];
    }
    size_t capacity() const { return entries_.size(); }

  private:
    std::vector<FrameTableEntry> entries_;
};

}  // namespace tavimor
