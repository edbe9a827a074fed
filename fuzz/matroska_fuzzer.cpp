// Reads arbitrary bytes as a Matroska/WebM file through the extraction run,
// with a structure text and an output for whatever track it finds: every
// size and count the file gives is honoured only as far as the file and the
// element holding it reach.
#include <cstdint>
#include <optional>
#include <string>

#include "containers/extraction_run.h"
#include "fuzz/fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const tavimor::fuzz::FuzzFolder folder("mkv-fuzz");
    const std::string input = folder.path("input.mkv");
    if (!folder.made() || !folder.write(input, data, size)) return 0;

    tavimor::ExtractionRequest request;
    request.input_path = input;
    request.raw_output_path = folder.path("raw.bin");
    request.structure_path = folder.path("structure.txt");
    request.message_path = folder.path("messages.txt");
    request.container_kind = tavimor::kContainerMkv;
    const std::string output = folder.path("track.out");
    request.codec_found = [&](int type, const std::string&) -> std::optional<std::string> {
        if (type == 0) return std::nullopt;
        return output;
    };
    tavimor::run_extraction(request);
    return 0;
}
