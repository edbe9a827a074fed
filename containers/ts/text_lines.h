// The lines of one packet's or one PES header's text, gathered in a fixed
// buffer and written to their file in one call.
#pragma once

#include <algorithm>
#include <array>
#include <charconv>
#include <concepts>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace tavimor::ts {

class TextLines {
  public:
    // Appends each part: texts as they are, integers in decimal.
    template <typename... Parts>
    void add(const Parts&... parts) {
        (put(parts), ...);
    }

    // Appends the value in lower-case hexadecimal, at least `digits` digits.
    void hex(uint64_t value, int digits) {
        char digits_text[16];
        const auto end =
            std::to_chars(digits_text, digits_text + sizeof digits_text, value, 16).ptr;
        const int length = static_cast<int>(end - digits_text);
        for (int i = length; i < digits; ++i) put(std::string_view("0"));
        put(std::string_view(digits_text, static_cast<size_t>(length)));
    }

    // Writes the lines gathered (nothing without a file) and starts afresh.
    void write_to(std::FILE* file) {
        if (file && size_ > 0) std::fwrite(chars_.data(), 1, size_, file);
        size_ = 0;
    }

    std::string_view text() const { return {chars_.data(), size_}; }

  private:
    void put(std::string_view text) {
        // A block never comes near the capacity; beyond it the text is cut, never overrun.
        const size_t length = std::min(text.size(), chars_.size() - size_);
        std::memcpy(chars_.data() + size_, text.data(), length);
        size_ += length;
    }
    void put(const char* text) { put(std::string_view(text)); }
    template <std::integral Number>
    void put(Number number) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        put(std::string_view(digits, static_cast<size_t>(end - digits)));
    }

    std::array<char, 2048> chars_;
    size_t size_ = 0;
};

}  // namespace tavimor::ts
