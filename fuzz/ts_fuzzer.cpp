// Reads arbitrary bytes as an MPEG-2 transport stream through the extraction
// run (fuzz/ts_fuzz_input.h says what an input must not do).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/ts_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = tavimor::fuzz::run_ts_input(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "ts_fuzzer: %s\n", failure.c_str());
        abort();
    }
    return 0;
}
