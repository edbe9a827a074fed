// MD5 message digest, for picture checksums.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavimor {

// A digest state as the 32 lowercase hex digits of its bytes, low byte first.
std::string md5_hex(const uint32_t state[4]);

class Md5 {
  public:
    Md5();
    void update(const void* data, size_t size);
    // The digest as 32 lowercase hex digits; the object is spent afterwards.
    std::string hex_digest();

  private:
    void transform(const uint8_t block[64]);

    uint32_t state_[4];
    uint64_t length_ = 0;  // bytes so far
    uint8_t buffer_[64];
    size_t buffered_ = 0;
};

}  // namespace tavimor
