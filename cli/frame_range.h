// A range of decoded-frame indices: "A-B", "A" (A-A) or "A-" (to the end).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavimor {

struct FrameRange {
    int64_t first = 0;
    int64_t last = INT64_MAX;

    bool contains(int64_t index) const { return index >= first && index <= last; }
};

// Parses a range; nothing when the text is not one.
std::optional<FrameRange> parse_frame_range(const std::string& text);

}  // namespace tavimor
