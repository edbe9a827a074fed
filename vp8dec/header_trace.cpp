#include "vp8dec/header_trace.h"

#include <charconv>

namespace vp8 {

void HeaderTrace::flush() const {
    if (file_ && !text_.empty()) std::fwrite(text_.data(), 1, text_.size(), file_);
    text_.clear();
}

void HeaderTrace::format_line(const char* format, const int* values, int count) const {
    int next = 0;
    const char* run = format;
    const char* at = format;
    for (; *at; ++at) {
        if (at[0] != '%' || at[1] != 'd') continue;
        text_.append(run, at);
        char digits[16];
        const int value = next < count ? values[next++] : 0;
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        text_.append(digits, result.ptr);
        ++at;
        run = at + 1;
    }
    text_.append(run, at);
}

}  // namespace vp8
