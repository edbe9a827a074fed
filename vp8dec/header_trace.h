// The header trace: one text line per syntax element, in reading order. Lines
// are gathered in memory and written to the file in blocks.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vp8 {

class HeaderTrace {
  public:
    explicit HeaderTrace(std::FILE* file) : file_(file) {}
    HeaderTrace(const HeaderTrace&) = delete;
    HeaderTrace& operator=(const HeaderTrace&) = delete;
    ~HeaderTrace() { flush(); }

    // Whether lines are kept: callers skip the making of a line otherwise.
    bool enabled() const { return file_ != nullptr; }

    // A line of constant text.
    void line(const char* text) const {
        if (file_) text_ += text;
    }
    void line(std::string_view text) const {
        if (file_) text_ += text;
    }
    // A line whose "%d" conversions take the values in order.
    template <typename... Values>
    void line(const char* format, Values... values) const {
        if (!file_) return;
        const int list[] = {values...};
        format_line(format, list, static_cast<int>(sizeof...(Values)));
    }

    // Writes what was gathered to the file.
    void flush() const;

  private:
    void format_line(const char* format, const int* values, int count) const;

    std::FILE* file_;
    mutable std::string text_;
};

}  // namespace vp8
