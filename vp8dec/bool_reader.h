// The boolean entropy decoder. Each reader streams its partition through a
// 4096-byte ring that is refilled at most once per macroblock, and counts the
// bits its reads consume.
#pragma once

#include <cstdint>

#include "vp8dec/tables.h"

namespace vp8 {

inline constexpr uint32_t kRingSize = 4096;
inline constexpr uint32_t kRingMask = kRingSize - 1;
inline constexpr uint32_t kRefillThreshold = 128;

struct BoolReader {
    uint32_t range;
    uint32_t value;         // bits 8..15 are compared with the split
    int32_t count;          // look-ahead bits loaded below the window
    const uint8_t* source;  // next partition byte not yet copied into the ring
    uint32_t source_left;
    uint8_t* ring;
    // Bytes loaded into value and bytes written into the ring since start; the
    // ring positions are these counts modulo the ring size.
    uint64_t loaded;
    uint64_t written;
};

// Bit position of a reader: loaded bytes and look-ahead count, for measuring
// how many bits a stretch of reads consumed.
struct BitMark {
    uint64_t loaded;
    int32_t count;
};

// Positions a reader on size bytes at data. Returns non-zero when data is
// missing for a non-empty partition or the ring cannot be allocated.
int bool_start(BoolReader& reader, const uint8_t* data, uint32_t size);
// Refills the ring from the source when at least 128 bytes of it are free.
void bool_fill(BoolReader& reader);
void bool_stop(BoolReader& reader);

inline BitMark bit_mark(const BoolReader& reader) {
    return {reader.loaded, reader.count};
}

// Bits consumed between two marks of the same reader: the total of the
// normalisation shifts performed in between.
inline int32_t bits_between(const BitMark& before, const BitMark& after) {
    return static_cast<int32_t>(8 * (after.loaded - before.loaded)) - (after.count - before.count);
}

inline uint32_t next_ring_byte(BoolReader& reader) {
    // Past the bytes written into the ring the partition has ended: zeros.
    const uint32_t byte =
        reader.loaded < reader.written ? reader.ring[reader.loaded & kRingMask] : 0;
    ++reader.loaded;
    return byte;
}

inline int read_bool(BoolReader& reader, int prob) {
    const uint32_t split = 1 + (((reader.range - 1) * static_cast<uint32_t>(prob)) >> 8);
    const uint32_t bigsplit = split << 8;
    int bit;
    if (reader.value < bigsplit) {
        reader.range = split;
        bit = 0;
    } else {
        reader.range -= split;
        reader.value -= bigsplit;
        bit = 1;
    }
    const int shift = kNormShift[reader.range];
    reader.range <<= shift;
    reader.value <<= shift;
    reader.count -= shift;
    if (reader.count <= 0) {
        reader.value |= next_ring_byte(reader) << (-reader.count);
        reader.count += 8;
    }
    return bit;
}

inline uint32_t read_literal(BoolReader& reader, int bits) {
    uint32_t value = 0;
    for (int i = 0; i < bits; ++i)
        value = (value << 1) | static_cast<uint32_t>(read_bool(reader, 128));
    return value;
}

inline int read_tree(BoolReader& reader, const TreeIndex* tree, const uint8_t* probs) {
    int index = 0;
    while ((index = tree[index + read_bool(reader, probs[index >> 1])]) > 0) {
    }
    return -index;
}

// Reads a magnitude of the given width followed by its sign bit (1 negative).
inline int read_signed_magnitude(BoolReader& reader, int magnitude_bits) {
    const int magnitude = static_cast<int>(read_literal(reader, magnitude_bits));
    return read_bool(reader, 128) ? -magnitude : magnitude;
}

}  // namespace vp8
