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

void bool_refill_apart(BoolReader& reader) {
    bool_refill(reader);
}

}  // namespace vp8
