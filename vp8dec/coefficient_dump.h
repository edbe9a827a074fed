// The coefficient records of a frame on their way to the coefficient file:
// gathered in a buffer and written in large pieces, not macroblock by
// macroblock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace vp8 {

class CoefficientDump {
  public:
    // Adds records for the file; earlier ones are written first when the
    // buffer has no room for them.
    void append(std::FILE* file, const uint8_t* bytes, size_t size);
    // Writes what the buffer holds.
    void flush(std::FILE* file);

  private:
    static constexpr size_t kCapacity = size_t{1} << 16;

    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
};

}  // namespace vp8
