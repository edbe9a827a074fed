#include "vp8dec/bool_reader.h"

namespace vp8 {

int bool_start(BoolReader& reader, const uint8_t* data, uint32_t size) {
    reader.value = 0;
    reader.count = -8;
    reader.range = 255;
    reader.padding = 0;
    if (size != 0 && data == nullptr) {
        reader.begin = reader.next = reader.end = nullptr;
        return 1;
    }
    reader.begin = data;
    reader.next = data;
    reader.end = data ? data + size : nullptr;
    bool_refill(reader);
    return 0;
}

void bool_load_tail(BoolReader& reader) {
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

}  // namespace vp8
