#include "containers/ts/section_assembler.h"

#include <algorithm>
#include <cstring>

namespace tavimor::ts {

namespace {

constexpr std::array<uint32_t, 256> make_crc_table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        table[byte] = crc;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = make_crc_table();

}  // namespace

uint32_t section_crc32(const uint8_t* bytes, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ kCrcTable[(crc >> 24) ^ bytes[i]];
    return crc;
}

size_t SectionAssembler::gather(const uint8_t* bytes, size_t size) {
    size_t taken = 0;
    if (need_ == 0) {
        while (have_ < 3 && taken < size) bytes_[have_++] = bytes[taken++];
        if (have_ < 3) return taken;
        need_ = 3 + ((static_cast<size_t>(bytes_[1] & 0x0F) << 8) | bytes_[2]);
    }
    const size_t length = std::min(need_ - have_, size - taken);
    std::memcpy(bytes_.data() + have_, bytes + taken, length);
    have_ += length;
    return taken + length;
}

}  // namespace tavimor::ts
