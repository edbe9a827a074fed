// Speed of the Matroska/WebM extraction on a file already in the page
// cache: a made-up WebM file of about 256 MB (a VP8 track of frames from 2
// to 60 kB and an Opus track between them, in clusters of a second) is
// extracted into an IVF file, with and without the structure text.
// Bytes per second are those of the container file. The files go to
// /dev/shm (or TAVIMOR_BENCH_DIR, else /tmp).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "bench/extraction_benchmark.h"
#include "tests/containers/matroska_builder.h"

namespace {

using namespace tavimor::mkv;

class BenchFiles {
  public:
    BenchFiles() { write_input(); }
    const tavimor::bench::ScratchFolder& folder() const { return folder_; }
    std::string path(const std::string& name) const { return folder_.path(name); }
    uint64_t input_size() const { return input_size_; }

  private:
    void write_input() {
        std::FILE* file = std::fopen(path("input.webm").c_str(), "wb");
        const std::string tracks = element(
            kTracks, track_entry(1, "A_OPUS") + track_entry(2, "V_VP8", 33333333, 1280, 720));
        std::string head = ebml_header() + unknown_size(kSegment) + tracks;
        std::fwrite(head.data(), 1, head.size(), file);
        input_size_ = head.size();
        const std::string audio(160, 'a');
        std::string frame;
        uint64_t time = 0;
        for (int second = 0; input_size_ < (256u << 20); ++second) {
            std::string blocks;
            for (int i = 0; i < 30; ++i) {
                const int number = second * 30 + i;
                const size_t size =
                    i == 0 ? 60000 : 2000 + static_cast<size_t>(number * 7919) % 30000;
                if (frame.size() < size) frame = frame_bytes(60000, number);
                blocks += simple_block(2, static_cast<int16_t>(i * 33), frame.substr(0, size));
                blocks += simple_block(1, static_cast<int16_t>(i * 33), audio);
            }
            const std::string one = cluster(time, blocks);
            std::fwrite(one.data(), 1, one.size(), file);
            input_size_ += one.size();
            time += 1000;
        }
        std::fclose(file);
    }

    tavimor::bench::ScratchFolder folder_{"mkv"};
    uint64_t input_size_ = 0;
};

const BenchFiles& files() {
    static const BenchFiles instance;
    return instance;
}

void extract(benchmark::State& state, bool with_structure) {
    const BenchFiles& bench = files();
    tavimor::bench::run_extraction_benchmark(
        state,
        {&bench.folder(), "input.webm", bench.input_size(), tavimor::kContainerMkv, "track.ivf"},
        with_structure);
}

void BM_MatroskaExtraction(benchmark::State& state) {
    extract(state, false);
}
void BM_MatroskaExtractionWithStructure(benchmark::State& state) {
    extract(state, true);
}

BENCHMARK(BM_MatroskaExtraction)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_MatroskaExtractionWithStructure)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
