#include "vp8dec/bool_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vp8 {

namespace {

// Copies up to want bytes from the source into the ring at the write position.
void copy_run(BoolReader& reader, uint32_t want) {
    const uint32_t n = std::min(want, reader.source_left);
    if (n == 0) return;
    std::memcpy(reader.ring + (reader.written & kRingMask), reader.source, n);
    reader.source += n;
    reader.source_left -= n;
    reader.written += n;
}

}  // namespace

int bool_start(BoolReader& reader, const uint8_t* data, uint32_t size) {
    reader.range = 255;
    reader.value = 0;
    reader.count = 0;
    reader.source = data;
    reader.source_left = size;
    reader.loaded = 0;
    reader.written = 0;
    if (size != 0 && data == nullptr) return 1;
    if (!reader.ring) {
        reader.ring = static_cast<uint8_t*>(std::calloc(kRingSize, 1));
        if (!reader.ring) return 1;
    }
    copy_run(reader, kRingSize);
    reader.value = next_ring_byte(reader) << 8;
    return 0;
}

void bool_fill(BoolReader& reader) {
    const uint32_t free_bytes = kRingSize - static_cast<uint32_t>(reader.written - reader.loaded);
    if (reader.loaded > reader.written || free_bytes < kRefillThreshold) return;
    if (reader.source_left == 0) return;
    // The free space runs from the write position to the ring end, then from
    // the ring start up to the read position.
    const uint32_t write_pos = reader.written & kRingMask;
    const uint32_t first_run = std::min(free_bytes, kRingSize - write_pos);
    copy_run(reader, first_run);
    if (first_run < free_bytes) copy_run(reader, free_bytes - first_run);
}

void bool_stop(BoolReader& reader) {
    std::free(reader.ring);
    reader.ring = nullptr;
}

}  // namespace vp8
