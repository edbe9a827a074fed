// Reads arbitrary bytes as an IVF file, frame by frame as the module reads
// it and at a glance as the stream graph surveys it: every frame header is
// honoured only as far as the file really reaches, and the survey counts no
// byte the file does not hold.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_folder.h"
#include "vp8module/ivf_reader.h"
#include "vp8module/stream_survey.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const tavimor::fuzz::FuzzFolder folder("ivf-fuzz");
    const std::string path = folder.path("input.ivf");
    if (!folder.made() || !folder.write(path, data, size)) return 0;

    tavimor::IvfReader reader;
    int64_t frame_bits = 0;
    if (reader.open(path)) {
        std::vector<uint8_t> frame;
        while (reader.read_frame(frame) == tavimor::IvfStatus::kFrame)
            frame_bits += int64_t{8} * static_cast<int64_t>(frame.size());
    }
    int64_t surveyed_bits = 0;
    for (const tavimor::PictureBits& picture : tavimor::survey_stream(path).pictures)
        surveyed_bits += picture.bits;
    // The survey sees the frames the reader reads (a last frame not shown
    // is not a picture of the survey), never more.
    if (surveyed_bits > frame_bits) {
        std::fprintf(stderr, "the survey counts %lld bits, the frames hold %lld\n",
                     static_cast<long long>(surveyed_bits), static_cast<long long>(frame_bits));
        std::abort();
    }
    return 0;
}
