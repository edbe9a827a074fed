#include "cli/md5.h"

#include <algorithm>
#include <cstring>

#include "cli/md5_tables.h"

namespace tavimor {

using namespace md5_tables;

namespace {

inline uint32_t rotate_left(uint32_t x, uint32_t n) {
    return (x << n) | (x >> (32 - n));
}

}  // namespace

std::string md5_hex(const uint32_t state[4]) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (int w = 0; w < 4; ++w)
        for (int i = 0; i < 4; ++i) {
            const auto byte = static_cast<uint8_t>(state[w] >> (8 * i));
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    return out;
}

Md5::Md5()
    : state_{kInitialState[0], kInitialState[1], kInitialState[2], kInitialState[3]}, buffer_{} {}

// One step: the message word and constant join `a` while the mixing function
// waits for `b`, and each function is written so that as little as possible
// of it waits for `b` (the previous step's result).
template <int Round>
inline uint32_t step(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, int i) {
    uint32_t sum = a + kSines[i] + word;
    if constexpr (Round == 0) sum += d ^ (b & (c ^ d));
    if constexpr (Round == 1) sum += (~d & c) + (d & b);
    if constexpr (Round == 2) sum += (c ^ d) ^ b;
    if constexpr (Round == 3) sum += c ^ (b | ~d);
    return b + rotate_left(sum, kShifts[i]);
}

template <int Round>
inline void run_round(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, const uint32_t* m) {
    // Unrolled, every step's constants fold into its instructions.
#pragma GCC unroll 16
    for (int k = 0; k < 16; ++k) {
        const int i = 16 * Round + k;
        const uint32_t result = step<Round>(a, b, c, d, m[kWordIndex[i]], i);
        a = d;
        d = c;
        c = b;
        b = result;
    }
}

void Md5::transform(const uint8_t block[64]) {
    uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = block[4 * i] | (block[4 * i + 1] << 8) | (block[4 * i + 2] << 16) |
               (static_cast<uint32_t>(block[4 * i + 3]) << 24);
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    run_round<0>(a, b, c, d, m);
    run_round<1>(a, b, c, d, m);
    run_round<2>(a, b, c, d, m);
    run_round<3>(a, b, c, d, m);
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5::update(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    length_ += size;
    while (size > 0) {
        // Whole blocks go straight from the input when nothing waits in the buffer.
        if (buffered_ == 0 && size >= sizeof(buffer_)) {
            transform(bytes);
            bytes += sizeof(buffer_);
            size -= sizeof(buffer_);
            continue;
        }
        const size_t take = std::min(size, sizeof(buffer_) - buffered_);
        std::memcpy(buffer_ + buffered_, bytes, take);
        buffered_ += take;
        bytes += take;
        size -= take;
        if (buffered_ == sizeof(buffer_)) {
            transform(buffer_);
            buffered_ = 0;
        }
    }
}

std::string Md5::hex_digest() {
    const uint64_t bits = length_ * 8;
    const uint8_t pad = 0x80;
    update(&pad, 1);
    const uint8_t zero = 0;
    while (buffered_ != 56) update(&zero, 1);
    uint8_t length_bytes[8];
    for (int i = 0; i < 8; ++i) length_bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    update(length_bytes, 8);
    return md5_hex(state_);
}

}  // namespace tavimor
