#include "vp8dec/coefficient_dump.h"

#include <cstring>

namespace vp8 {

void CoefficientDump::append(std::FILE* file, const uint8_t* bytes, size_t size) {
    if (size == 0) return;
    if (size_ + size > kCapacity) flush(file);
    if (size > kCapacity) {
        std::fwrite(bytes, 1, size, file);
        return;
    }
    if (!bytes_) bytes_ = std::make_unique<uint8_t[]>(kCapacity);
    std::memcpy(bytes_.get() + size_, bytes, size);
    size_ += size;
}

void CoefficientDump::flush(std::FILE* file) {
    if (size_ != 0 && file) std::fwrite(bytes_.get(), 1, size_, file);
    size_ = 0;
}

}  // namespace vp8
