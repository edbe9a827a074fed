// Reading a box's content field by field, and writing the structure text.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace tavimor::mp4 {

// Big-endian fields from a box's content. A field that does not fit in what
// is left reads as zero and clears ok(); nothing is read past the end.
class FieldReader {
  public:
    FieldReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t left() const { return size_ - at_; }
    size_t offset() const { return at_; }

    uint8_t u8() { return static_cast<uint8_t>(bits(1)); }
    uint16_t u16() { return static_cast<uint16_t>(bits(2)); }
    uint32_t u24() { return static_cast<uint32_t>(bits(3)); }
    uint32_t u32() { return static_cast<uint32_t>(bits(4)); }
    uint64_t u64() { return bits(8); }
    // A 32-bit field in version 0 boxes, a 64-bit one in version 1 boxes.
    uint64_t sized(bool wide) { return wide ? u64() : u32(); }

    // The next n bytes, or null (and not ok) when fewer are left.
    const uint8_t* take(size_t n) {
        if (!ok_ || n > left()) {
            ok_ = false;
            return nullptr;
        }
        const uint8_t* bytes = data_ + at_;
        at_ += n;
        return bytes;
    }
    void skip(size_t n) { take(n); }

  private:
    uint64_t bits(size_t n) {
        const uint8_t* bytes = take(n);
        uint64_t value = 0;
        if (bytes)
            for (size_t i = 0; i < n; ++i) value = value << 8 | bytes[i];
        return value;
    }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

// Text up to its first zero byte, as a C string prints it.
inline std::string text_of(const uint8_t* bytes, size_t size) {
    size_t length = 0;
    while (length < size && bytes[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(bytes), length);
}

// A four-character code as text.
inline std::string fourcc_text(uint32_t code) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(code >> 24), static_cast<uint8_t>(code >> 16),
                              static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
    return text_of(bytes, 4);
}

// The structure text: one node a line, its depth in leading tabs. Writes
// nothing when the run has no structure text file.
class StructureText {
  public:
    explicit StructureText(std::FILE* file) : file_(file) {}

    bool on() const { return file_ != nullptr; }

    // The depth's tabs, then the formatted text.
    __attribute__((format(printf, 3, 4))) void line(int depth, const char* format, ...) {
        if (!file_) return;
        tabs(depth);
        va_list arguments;
        va_start(arguments, format);
        std::vfprintf(file_, format, arguments);
        va_end(arguments);
    }
    // More text on the current line.
    __attribute__((format(printf, 2, 3))) void more(const char* format, ...) {
        if (!file_) return;
        va_list arguments;
        va_start(arguments, format);
        std::vfprintf(file_, format, arguments);
        va_end(arguments);
    }

  private:
    void tabs(int depth) {
        for (int i = 0; i < depth; ++i) std::fputc('\t', file_);
    }

    std::FILE* file_;
};

}  // namespace tavimor::mp4
