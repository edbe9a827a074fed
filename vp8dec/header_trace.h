// The header trace: one text line per syntax element, in reading order.
#pragma once

#include <cstdio>

namespace vp8 {

class HeaderTrace {
  public:
    explicit HeaderTrace(std::FILE* file) : file_(file) {}

    void line(const char* text) const {
        if (file_) std::fputs(text, file_);
    }
    void line(const char* format, int value) const {
        if (file_) std::fprintf(file_, format, value);
    }
    void line(const char* format, int a, int b) const {
        if (file_) std::fprintf(file_, format, a, b);
    }
    void line(const char* format, int a, int b, int c) const {
        if (file_) std::fprintf(file_, format, a, b, c);
    }
    void line(const char* format, int a, int b, int c, int d) const {
        if (file_) std::fprintf(file_, format, a, b, c, d);
    }

  private:
    std::FILE* file_;
};

}  // namespace vp8
