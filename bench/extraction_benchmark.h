// What the container extraction benchmarks share: a scratch folder for the
// made-up input and the outputs, and the timed loop that extracts the input
// (already in the page cache) into a video stream, with or without the
// structure text, counting the container's bytes a second.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "containers/extraction_run.h"

namespace tavimor::bench {

// A private folder, removed with what is in it. In memory where the system
// has a folder for it (writing the output to disk would measure the disk,
// not the extraction); TAVIMOR_BENCH_DIR chooses another place.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name) {
        const char* chosen = std::getenv("TAVIMOR_BENCH_DIR");
        const std::string base = chosen && *chosen                           ? chosen
                                 : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                             : "/tmp";
        std::string pattern = base + "/tavimor-" + name + "-bench-XXXXXX";
        if (mkdtemp(pattern.data())) folder_ = pattern;
    }
    ~ScratchFolder() {
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name) const { return folder_ + "/" + name; }

  private:
    std::string folder_;
};

struct ExtractionBench {
    const ScratchFolder* folder;
    std::string input_name;  // in the folder
    uint64_t input_size;
    int container_kind;
    std::string output_name;              // the extracted video stream, in the folder
    std::function<void()> before_each{};  // resets what a run must start without
};

inline void run_extraction_benchmark(benchmark::State& state, const ExtractionBench& bench,
                                     bool with_structure) {
    const ScratchFolder& folder = *bench.folder;
    ExtractionRequest request;
    request.input_path = folder.path(bench.input_name);
    request.raw_output_path = folder.path("tmp.raw");
    request.structure_path = with_structure ? folder.path("filestruct.txt") : "";
    request.message_path = folder.path("messages.txt");
    request.container_kind = bench.container_kind;
    const std::string output = folder.path(bench.output_name);
    request.codec_found = [&](int type, const std::string&) -> std::optional<std::string> {
        if (type == 0) return std::nullopt;
        return output;
    };
    if (bench.before_each) bench.before_each();
    run_extraction(request);  // the input into the page cache
    for (auto _ : state) {
        if (bench.before_each) bench.before_each();
        const ExtractionResult result = run_extraction(request);
        if (!result.ok || !result.codec_found) state.SkipWithError("the extraction failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bench.input_size));
}

}  // namespace tavimor::bench
