// Reads arbitrary bytes as an MP4/3GP file through the extraction run: every
// size, count, offset and length the file gives is honoured only as far as
// the file and the box holding it reach, and the run always completes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/mp4_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const tavimor::fuzz::Mp4Input input;
    tavimor::ExtractionResult result;
    if (input.run(data, size, result) && !result.ok) {
        std::fprintf(stderr, "the run failed: %s\n", result.failure.c_str());
        std::abort();
    }
    return 0;
}
