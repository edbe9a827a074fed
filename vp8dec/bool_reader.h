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

// Refills a reader from outside the code that reads it, keeping that code's
// registers free of the partition's pointers.
[[gnu::noinline]] void bool_refill_apart(BoolReader& reader);

// A reader's window, count and range held apart from its place in the
// partition, for a long run of reads: the three stay in registers, and the
// rare refill reaches the partition through the source reader in memory.
struct WindowReader {
    uint64_t value;
    int32_t count;
    uint32_t range;
    BoolReader* source;

    explicit WindowReader(BoolReader& reader)
        : value(reader.value), count(reader.count), range(reader.range), source(&reader) {}
    // Hands the state back to the source reader.
    void finish() const {
        source->value = value;
        source->count = count;
        source->range = range;
    }
};

[[gnu::always_inline]] inline void bool_refill(WindowReader& reader) {
    reader.source->value = reader.value;
    reader.source->count = reader.count;
    bool_refill_apart(*reader.source);
    reader.value = reader.source->value;
    reader.count = reader.source->count;
}

inline BitMark bit_mark(const BoolReader& reader) {
    return {static_cast<uint64_t>(reader.next - reader.begin) + reader.padding, reader.count};
}

inline BitMark bit_mark(const WindowReader& reader) {
    const BoolReader& source = *reader.source;
    return {static_cast<uint64_t>(source.next - source.begin) + source.padding, reader.count};
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

// Brings the range back to 128..255, shifting the window with it, and
// refills the window once its look-ahead has run out.
template <class Shift, class Reader>
[[gnu::always_inline]] inline void renormalise(Reader& reader) {
    const int shift = Shift::of(reader.range);
    reader.range <<= shift;
    reader.value <<= shift;
    reader.count -= shift;
    if (reader.count < 0) bool_refill(reader);
}

// Reads one bool given the split of the range between 0 and 1, then
// renormalises the range.
template <class Shift = TableShift, class Reader>
[[gnu::always_inline]] inline int read_bool_at(Reader& reader, uint32_t split) {
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
    renormalise<Shift>(reader);
    return bit;
}

// Reads one bool whose probability of being 0 is prob / 256.
template <class Shift = TableShift, class Reader>
inline int read_bool(Reader& reader, int prob) {
    return read_bool_at<Shift>(reader,
                               1 + (((reader.range - 1) * static_cast<uint32_t>(prob)) >> 8));
}

// Reads one bool of probability one half, the split halving the range.
template <class Shift = TableShift, class Reader>
inline int read_bool_half(Reader& reader) {
    return read_bool_at<Shift>(reader, (reader.range + 1) >> 1);
}

// Reads one bool without a branch, for a bit that only selects between two
// values and is as likely one as the other (a coefficient's sign), which no
// prediction would guess: the range and window take their new values by
// arithmetic on the bit.
template <class Shift = TableShift, class Reader>
[[gnu::always_inline]] inline int read_bool_half_selecting(Reader& reader) {
    const uint32_t split = (reader.range + 1) >> 1;
    const uint32_t bit = static_cast<uint32_t>(reader.value >> 56) >= split;
    reader.value -= (static_cast<uint64_t>(split) << 56) & (uint64_t{0} - bit);
    reader.range = split + ((reader.range - 2 * split) & (0u - bit));
    renormalise<Shift>(reader);
    return static_cast<int>(bit);
}

template <class Shift = TableShift, class Reader>
inline uint32_t read_literal(Reader& reader, int bits) {
    uint32_t value = 0;
    for (int i = 0; i < bits; ++i)
        value = (value << 1) | static_cast<uint32_t>(read_bool_half<Shift>(reader));
    return value;
}

// Reads a tree known when compiling, unfolded into one branch per node: each
// node's probability is at hand without waiting for the bits above it.
template <const TreeIndex* Tree, class Shift = TableShift, int Node = 0, class Reader>
[[gnu::always_inline]] inline int read_fixed_tree(Reader& reader, const uint8_t* probs) {
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
