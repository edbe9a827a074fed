// Reads arbitrary bytes as an FLV/F4V file through the extraction run:
// every data size and length the file gives is honoured only as far as the
// tag and the file reach.
#include <cstdint>

#include "fuzz/flv_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tavimor::fuzz::run_flv_input(data, size);
    return 0;
}
