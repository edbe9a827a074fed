// Speed of the FLV/F4V extraction on a file already in the page cache: a
// made-up FLV file of about 256 MB (AVC pictures of 2 to 60 kB in two NAL
// units each, an AAC tag after every picture) is extracted into an Annex B
// stream, with and without the structure text. Bytes per second are those
// of the container file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "bench/extraction_benchmark.h"
#include "containers/flv/flv_format.h"
#include "tests/containers/flv_builder.h"

namespace {

using namespace tavimor::flv_build;

class BenchFiles {
  public:
    BenchFiles() { write_input(); }
    const tavimor::bench::ScratchFolder& folder() const { return folder_; }
    std::string path(const std::string& name) const { return folder_.path(name); }
    uint64_t input_size() const { return input_size_; }

  private:
    void write_input() {
        std::FILE* file = std::fopen(path("input.flv").c_str(), "wb");
        const std::string sps("\x67\x64\x00\x1F\xAC\xD9\x40\x50", 8), pps("\x68\xEB\xE3\xCB", 4);
        std::string bytes =
            file_header() +
            tags({script_tag("onMetaData"), video_tag(avc_data(0, 0, avc_record(4, {sps}, {pps})))},
                 false);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        input_size_ = bytes.size();
        const std::string unit = nal_unit(60000, 0);
        const std::string audio(200, 'a');
        uint32_t previous = 0;
        for (int number = 0; input_size_ < (256u << 20); ++number) {
            const size_t size = number % 30 == 0 ? 60000 : 2000 + (number * 7919) % 30000;
            const std::string payload =
                length_prefixed(4, {unit.substr(0, size / 2), unit.substr(0, size - size / 2)});
            const uint32_t time = static_cast<uint32_t>(number) * 40;
            std::string chunk;
            for (const Tag& tag : {video_tag(avc_data(1, 80, payload, number % 30 ? 2 : 1), time),
                                   audio_tag(audio, time)}) {
                const std::string one = tag_bytes(tag);
                chunk += be(previous, 4) + one;
                previous = static_cast<uint32_t>(one.size());
            }
            std::fwrite(chunk.data(), 1, chunk.size(), file);
            input_size_ += chunk.size();
        }
        std::fclose(file);
    }

    tavimor::bench::ScratchFolder folder_{"flv"};
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
        {&bench.folder(), "input.flv", bench.input_size(), tavimor::kContainerFlv, "video.264",
         // Each run as the process's first FLV file, asked for its output.
         [] { tavimor::flv::set_flv_session({}); }},
        with_structure);
}

void BM_FlvExtraction(benchmark::State& state) {
    extract(state, false);
}
void BM_FlvExtractionWithStructure(benchmark::State& state) {
    extract(state, true);
}

BENCHMARK(BM_FlvExtraction)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_FlvExtractionWithStructure)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
