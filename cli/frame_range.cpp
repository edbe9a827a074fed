#include "cli/frame_range.h"

#include <cctype>
#include <charconv>

namespace tavimor {

namespace {

std::optional<int64_t> parse_index(const std::string& text) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return std::nullopt;
    int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<FrameRange> parse_frame_range(const std::string& text) {
    const size_t dash = text.find('-');
    if (dash == std::string::npos) {
        const auto value = parse_index(text);
        if (!value) return std::nullopt;
        return FrameRange{*value, *value};
    }
    const auto first = parse_index(text.substr(0, dash));
    if (!first) return std::nullopt;
    const std::string rest = text.substr(dash + 1);
    if (rest.empty()) return FrameRange{*first, INT64_MAX};
    const auto last = parse_index(rest);
    if (!last || *last < *first) return std::nullopt;
    return FrameRange{*first, *last};
}

}  // namespace tavimor
