// Reads arbitrary bytes as an MP4/3GP file through the extraction run: every
// size, count, offset and length the file gives is honoured only as far as
// the file and the box holding it reach, and the run always completes.
// Built without libFuzzer, it runs the files and folders it is given (the
// seed corpus) the same way.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

#ifndef TAVIMOR_LIBFUZZER
int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.push_back(argv[i]);
        }
    }
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "%zu files run\n", files.size());
    return files.empty() ? 1 : 0;
}
#endif
