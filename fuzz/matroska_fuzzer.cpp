// Reads arbitrary bytes as a Matroska/WebM file through the extraction run,
// with a structure text and an output for whatever track it finds: every
// size and count the file gives is honoured only as far as the file and the
// element holding it reach.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "containers/extraction_run.h"

namespace {

// One folder for the run's files, in memory where the system has it.
const std::string& folder() {
    static const std::string path = [] {
        std::string pattern = std::filesystem::is_directory("/dev/shm")
                                  ? "/dev/shm/tavimor-mkv-fuzz-XXXXXX"
                                  : "/tmp/tavimor-mkv-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern.data());
        return made ? std::string(made) : std::string("/tmp");
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = folder() + "/input.mkv";
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (!file) return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) return 0;

    tavimor::ExtractionRequest request;
    request.input_path = input;
    request.raw_output_path = folder() + "/raw.bin";
    request.structure_path = folder() + "/structure.txt";
    request.message_path = folder() + "/messages.txt";
    request.container_kind = tavimor::kContainerMkv;
    const std::string output = folder() + "/track.out";
    request.codec_found = [&](int type, const std::string&) -> std::optional<std::string> {
        if (type == 0) return std::nullopt;
        return output;
    };
    tavimor::run_extraction(request);
    return 0;
}
