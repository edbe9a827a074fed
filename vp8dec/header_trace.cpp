#include "vp8dec/header_trace.h"

#include <cstring>

namespace vp8 {

namespace {

// Writes the value's decimal digits to end's left; returns where they start.
char* decimal_before(char* end, int value) {
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--end = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--end = '-';
    return end;
}

}  // namespace

void HeaderTrace::flush() const {
    if (file_ && !text_.empty()) std::fwrite(text_.data(), 1, text_.size(), file_);
    text_.clear();
}

// The trace writes over a thousand lines a frame: each piece is appended by
// pointer and length, with no character-by-character scan of the format.
void HeaderTrace::format_line(const char* format, const int* values, int count) const {
    int next = 0;
    const char* run = format;
    for (const char* at = std::strstr(run, "%d"); at; at = std::strstr(run, "%d")) {
        text_.append(run, static_cast<size_t>(at - run));
        char digits[16];
        char* const end = digits + sizeof digits;
        const char* const start = decimal_before(end, next < count ? values[next++] : 0);
        text_.append(start, static_cast<size_t>(end - start));
        run = at + 2;
    }
    text_.append(run);
}

}  // namespace vp8
