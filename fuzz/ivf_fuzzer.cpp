// Reads arbitrary bytes as an IVF file: every frame header is honoured only
// as far as the file really reaches.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "vp8module/ivf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char path[] = "/tmp/tavimor-ivf-fuzz-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return 0;
    if (write(fd, data, size) != static_cast<ssize_t>(size)) {
        close(fd);
        unlink(path);
        return 0;
    }
    close(fd);
    tavimor::IvfReader reader;
    if (reader.open(path)) {
        std::vector<uint8_t> frame;
        while (reader.read_frame(frame) == tavimor::IvfStatus::kFrame) {
        }
    }
    unlink(path);
    return 0;
}
