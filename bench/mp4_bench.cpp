// Speed of the MP4/3GP extraction on a file already in the page cache: a
// made-up MP4 file of about 256 MB (an H.264 track of samples from 2 to
// 60 kB, one or two NAL units each, in chunks of 25, and an audio track's
// chunks between them) is extracted into an Annex B byte stream, with and
// without the structure text. Bytes per second are those of the container
// file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/extraction_benchmark.h"
#include "containers/mp4/mp4_format.h"
#include "tests/containers/mp4_builder.h"

namespace {

using namespace tavimor::test::mp4;

constexpr uint32_t kSamplesPerChunk = 25;
constexpr uint64_t kTarget = 256u << 20;

class BenchFile {
  public:
    BenchFile() { write_input(); }
    const tavimor::bench::ScratchFolder& folder() const { return folder_; }
    std::string path(const std::string& name) const { return folder_.path(name); }
    uint64_t input_size() const { return input_size_; }

  private:
    static std::string sample(uint32_t number) {
        const size_t size = 2000 + static_cast<size_t>(number * 7919u) % 58000;
        const std::string body(size - 4, static_cast<char>(number));
        if (number % 3 != 0) return units({"\x41" + body.substr(1)});
        const size_t half = body.size() / 2;
        return units({"\x65" + body.substr(1, half - 5), "\x65" + body.substr(half + 1)});
    }

    void write_input() {
        const std::string audio(4000, 'a');
        std::vector<uint32_t> sizes;
        uint64_t data = 0;
        for (uint32_t n = 0; data < kTarget; ++n) {
            sizes.push_back(sample(n).size());
            data +=
                sizes.back() + (n % kSamplesPerChunk == kSamplesPerChunk - 1 ? audio.size() : 0);
        }
        auto moov = [&](uint64_t first) {
            std::vector<std::string> video, sound;
            uint64_t at = first;
            for (size_t i = 0; i < sizes.size(); ++i) {
                if (i % kSamplesPerChunk == 0) video.push_back(u32(at));
                at += sizes[i];
                if (i % kSamplesPerChunk == kSamplesPerChunk - 1) {
                    sound.push_back(u32(at));
                    at += audio.size();
                }
            }
            const std::string stbl = stsd({visual_entry("avc1", H264Layout().avcc)}) + stsz(sizes) +
                                     table("stsc", {u32(1) + u32(kSamplesPerChunk) + u32(1)}) +
                                     table("stco", video);
            const std::string audio_stbl =
                stsd({audio_entry("mp4a", "")}) +
                box("stsz", full(0) + u32(audio.size()) + u32(sound.size())) +
                table("stsc", {u32(1) + u32(1) + u32(1)}) + table("stco", sound);
            return box("moov", trak("vide", stbl) + trak("soun", audio_stbl));
        };
        const std::string head_size = ftyp() + moov(0);
        const std::string head = ftyp() + moov(head_size.size() + 8);
        std::FILE* file = std::fopen(path("input.mp4").c_str(), "wb");
        const std::string mdat = u32(8 + data) + "mdat";
        std::fwrite(head.data(), 1, head.size(), file);
        std::fwrite(mdat.data(), 1, mdat.size(), file);
        for (uint32_t n = 0; n < sizes.size(); ++n) {
            const std::string bytes = sample(n);
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            if (n % kSamplesPerChunk == kSamplesPerChunk - 1)
                std::fwrite(audio.data(), 1, audio.size(), file);
        }
        std::fclose(file);
        input_size_ = head.size() + mdat.size() + data;
    }

    tavimor::bench::ScratchFolder folder_{"mp4"};
    uint64_t input_size_ = 0;
};

const BenchFile& file() {
    static const BenchFile instance;
    return instance;
}

void extract(benchmark::State& state, bool with_structure) {
    const BenchFile& bench = file();
    tavimor::bench::run_extraction_benchmark(
        state,
        {&bench.folder(), "input.mp4", bench.input_size(), tavimor::kContainerMp4, "video.264",
         [] { tavimor::mp4::reset_output_question(); }},
        with_structure);
}

void BM_Mp4Extraction(benchmark::State& state) {
    extract(state, false);
}
void BM_Mp4ExtractionWithStructure(benchmark::State& state) {
    extract(state, true);
}

BENCHMARK(BM_Mp4Extraction)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Mp4ExtractionWithStructure)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
