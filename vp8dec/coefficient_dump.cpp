#include "vp8dec/coefficient_dump.h"

#include <cstring>
#include <new>

namespace vp8 {

void CoefficientDump::append(std::FILE* file, const uint8_t* bytes, size_t size) {
    if (size == 0 || !file) return;
    if (size_ + size > kCapacity) flush(file);
    // Appending runs in destructors: without memory for the buffer the
    // records are written as they come, never thrown over.
    if (!bytes_) bytes_.reset(new (std::nothrow) uint8_t[kCapacity]);
    if (size > kCapacity || !bytes_) {
        std::fwrite(bytes, 1, size, file);
        return;
    }
    std::memcpy(bytes_.get() + size_, bytes, size);
    size_ += size;
}

void CoefficientDump::flush(std::FILE* file) {
    if (size_ != 0 && file) std::fwrite(bytes_.get(), 1, size_, file);
    size_ = 0;
}

}  // namespace vp8
