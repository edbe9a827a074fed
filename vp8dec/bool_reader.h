// The boolean entropy decoder. Each reader takes its partition straight from
// the compressed frame through a 64-bit window refilled seven bytes at a time,
// and counts the bits its reads consume.
#pragma once

#include <cstdint>
#include <cstring>

#include "vp8dec/tables.h"

namespace vp8 {

struct BoolReader {
    uint64_t value;       // the top 8 bits are compared with the split
    int32_t count;        // bits loaded below the top 8; negative when they run short
    uint32_t range;       // 128..255 between reads
    const uint8_t* next;  // next partition byte not yet loaded
    const uint8_t* end;   // end of the partition
    const uint8_t* begin;
    uint64_t padding;  // zero bytes loaded past the partition's end
};

// Bit position of a reader: loaded bytes and look-ahead count, for measuring
// how many bits a stretch of reads consumed.
struct BitMark {
    uint64_t loaded;
    int32_t count;
};

// Positions a reader on size bytes at data. Returns non-zero when data is
// missing for a non-empty partition.
int bool_start(BoolReader& reader, const uint8_t* data, uint32_t size);

// Loads bytes into the window one at a time, zeros past the partition's end;
// the slow path of refill. Inline like the rest of the reader, so that a
// reader copied into a local never has its address taken and keeps its state
// in registers.
[[gnu::always_inline]] inline void bool_load_tail(BoolReader& reader) {
    while (reader.count <= 48) {
        uint64_t byte = 0;
        if (reader.next != reader.end)
            byte = *reader.next++;
        else
            ++reader.padding;
        reader.value |= byte << (48 - reader.count);
        reader.count += 8;
    }
}

inline BitMark bit_mark(const BoolReader& reader) {
    return {static_cast<uint64_t>(reader.next - reader.begin) + reader.padding, reader.count};
}

// Bits consumed between two marks of the same reader: the total of the
// normalisation shifts performed in between.
inline int32_t bits_between(const BitMark& before, const BitMark& after) {
    return static_cast<int32_t>(8 * (after.loaded - before.loaded)) - (after.count - before.count);
}

// Fills the window once its look-ahead has run out: seven bytes with one load
// where the partition holds eight more.
[[gnu::always_inline]] inline void bool_refill(BoolReader& reader) {
    if (reader.end - reader.next >= 8) {
        uint64_t word;
        std::memcpy(&word, reader.next, 8);
        word = __builtin_bswap64(word) >> 8;  // the next seven bytes, first byte highest
        reader.value |= word << -reader.count;
        reader.count += 56;
        reader.next += 7;
        return;
    }
    bool_load_tail(reader);
}

// How a read finds the shift that brings the range back to 128..255: from a
// table, or by counting the range's leading zeros, which shortens the wait
// between consecutive reads on processors that have the instruction.
struct TableShift {
    static int of(uint32_t range) { return kNormShift[range]; }
};
struct LeadingZeroShift {
    static int of(uint32_t range) {
        uint32_t zeros;
        __asm__("lzcnt %1, %0" : "=r"(zeros) : "r"(range));
        return static_cast<int>(zeros) - 24;
    }
};

// Reads one bool given the split of the range between 0 and 1, then
// renormalises the range.
template <class Shift = TableShift>
[[gnu::always_inline]] inline int read_bool_at(BoolReader& reader, uint32_t split) {
    const uint64_t bigsplit = static_cast<uint64_t>(split) << 56;
    int bit;
    // The window's top byte against the split itself: the comparison waits
    // for no shift of the split.
    if (static_cast<uint32_t>(reader.value >> 56) < split) {
        reader.range = split;
        bit = 0;
    } else {
        reader.range -= split;
        reader.value -= bigsplit;
        bit = 1;
    }
    const int shift = Shift::of(reader.range);
    reader.range <<= shift;
    reader.value <<= shift;
    reader.count -= shift;
    if (reader.count < 0) bool_refill(reader);
    return bit;
}

// Reads one bool whose probability of being 0 is prob / 256.
template <class Shift = TableShift>
inline int read_bool(BoolReader& reader, int prob) {
    return read_bool_at<Shift>(reader,
                               1 + (((reader.range - 1) * static_cast<uint32_t>(prob)) >> 8));
}

// Reads one bool of probability one half, the split halving the range.
template <class Shift = TableShift>
inline int read_bool_half(BoolReader& reader) {
    return read_bool_at<Shift>(reader, (reader.range + 1) >> 1);
}

template <class Shift = TableShift>
inline uint32_t read_literal(BoolReader& reader, int bits) {
    uint32_t value = 0;
    for (int i = 0; i < bits; ++i)
        value = (value << 1) | static_cast<uint32_t>(read_bool_half<Shift>(reader));
    return value;
}

// Reads a tree known when compiling, unfolded into one branch per node: each
// node's probability is at hand without waiting for the bits above it.
template <const TreeIndex* Tree, class Shift = TableShift, int Node = 0>
[[gnu::always_inline]] inline int read_fixed_tree(BoolReader& reader, const uint8_t* probs) {
    constexpr int zero = Tree[Node], one = Tree[Node + 1];
    if (read_bool<Shift>(reader, probs[Node >> 1])) {
        if constexpr (one > 0) return read_fixed_tree<Tree, Shift, one>(reader, probs);
        return -one;
    }
    if constexpr (zero > 0) return read_fixed_tree<Tree, Shift, zero>(reader, probs);
    return -zero;
}

// Reads a magnitude of the given width followed by its sign bit (1 negative).
inline int read_signed_magnitude(BoolReader& reader, int magnitude_bits) {
    const int magnitude = static_cast<int>(read_literal(reader, magnitude_bits));
    return read_bool_half(reader) ? -magnitude : magnitude;
}

}  // namespace vp8
