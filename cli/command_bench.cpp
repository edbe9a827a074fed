// bench: decoding speed of the whole stream, alone and with every analysis
// output the analyser writes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/step_timing.h"
#include "vp8dec/analysis_context.h"
#include "vp8dec/codec_context.h"
#include "vp8dec/error_codes.h"
#include "vp8dec/kernels/kernel_table.h"
#include "vp8module/ivf_reader.h"
#include "vp8module/picture_cache.h"

namespace tavimor {

namespace {

using Frames = std::vector<std::vector<uint8_t>>;

Frames load_frames(const std::string& input) {
    IvfReader reader;
    if (!reader.open(input)) throw InputError("not a readable IVF stream");
    Frames frames;
    std::vector<uint8_t> frame;
    IvfStatus status;
    while ((status = reader.read_frame(frame)) == IvfStatus::kFrame) frames.push_back(frame);
    if (status == IvfStatus::kTruncated || status == IvfStatus::kHeaderCut)
        throw InputError("frame " + std::to_string(frames.size()) + ": truncated frame");
    if (frames.empty()) throw InputError("no frames");
    return frames;
}

// A private folder for the analysis files of one run, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavimor-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw InputError("cannot create a temporary folder");
        path_ = pattern + "/";
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Decodes every frame once; returns the seconds taken.
double decode_once(const Frames& frames, bool with_analysis, int threads) {
    ScratchFolder folder;
    vp8::AnalysisContext analysis{};
    PictureCache cache;
    if (with_analysis &&
        (!vp8::open_analysis_files(analysis, (folder.path() + "mbist_framehdr.txt").c_str(),
                                   (folder.path() + "mbist_mbinfo.bin").c_str(),
                                   (folder.path() + "mbist_mbcoef.bin").c_str()) ||
         !cache.open(folder.path())))
        throw InputError("cannot create the analysis files");
    vp8::CodecContext context{};
    const vp8::DecoderConfig config{threads, 0};
    vp8::decoder_init(&context, vp8::vp8_decoder_interface(), threads ? &config : nullptr, 0,
                      vp8::kDecoderAbiVersion);
    vp8::decoder_set_analysis(&context, with_analysis ? &analysis : nullptr);
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < frames.size(); ++i) {
        const std::vector<uint8_t>& frame = frames[i];
        if (vp8::decoder_decode(&context, frame.data(), static_cast<uint32_t>(frame.size()),
                                nullptr, 0) != vp8::kOk) {
            vp8::decoder_destroy(&context);
            vp8::close_analysis_context(analysis);
            throw InputError("frame " + std::to_string(i) + ": " +
                             vp8::decoder_error_string(&context));
        }
        const void* iterator = nullptr;
        const vp8::FrameAnalysisRecord* record = vp8::decoder_get_frame(&context, &iterator);
        if (record && with_analysis) {
            const vp8::PlanarPicture* const pictures[3] = {
                &record->final_picture, &record->prelf_picture, &record->predicted_picture};
            // The working files hold one picture at a time, as the analyser's
            // do at the limit of their budget, so that a long stream cannot
            // fill the disk.
            const int64_t origin[3] = {0, 0, 0};
            cache.store(pictures, origin);
            for (std::FILE* file : {analysis.trace_file, analysis.mbinfo_file, analysis.coef_file})
                std::fseek(file, 0, SEEK_SET);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    vp8::decoder_destroy(&context);
    vp8::close_analysis_context(analysis);
    return seconds;
}

Spread measure(const Frames& frames, int runs, bool with_analysis, int threads) {
    std::vector<double> fps;
    for (int r = 0; r < runs; ++r)
        fps.push_back(static_cast<double>(frames.size()) /
                      decode_once(frames, with_analysis, threads));
    return spread_of(fps);
}

std::string json_spread(const Spread& spread) {
    char text[128];
    std::snprintf(text, sizeof text, "{\"min\":%.2f,\"median\":%.2f,\"max\":%.2f}", spread.min,
                  spread.median, spread.max);
    return text;
}

double megabytes(int64_t bytes) {
    return static_cast<double>(bytes) / (1 << 20);
}

}  // namespace

int run_bench(const CliOptions& options,
              StepTimes (*time_steps)(const std::string& ivf_path, int64_t cache_limit_mb)) {
    const int runs = int_option(options, "--runs", 5);
    if (runs < 1) throw UsageError("--runs must be at least 1");
    const int threads = thread_option(options);
    const Frames frames = load_frames(options.input);
    const Spread alone = measure(frames, runs, false, threads);
    const Spread analysed = measure(frames, runs, true, threads);
    const bool steps_asked = options.has("--steps");
    const StepTimes steps =
        steps_asked ? time_steps(options.input, cache_limit_option(options)) : StepTimes{};
    const int features = vp8::feature_bits();
    if (options.has("--json")) {
        std::printf("{\"frames\":%zu,\"runs\":%d,\"features\":%d,\"decoder\":%s,\"analysis\":%s",
                    frames.size(), runs, features, json_spread(alone).c_str(),
                    json_spread(analysed).c_str());
        if (steps_asked)
            std::printf(
                ",\"step_forward_ms\":%s,\"step_back_ms\":%s,\"working_files_peak_mb\":%.1f",
                json_spread(steps.forward_ms).c_str(), json_spread(steps.back_ms).c_str(),
                megabytes(steps.working_files_peak));
        std::printf("}\n");
        return 0;
    }
    std::printf("frames: %zu, runs: %d, decoder feature bits: %d\n", frames.size(), runs, features);
    std::printf("decoder alone:      min %8.2f  median %8.2f  max %8.2f frames/s\n", alone.min,
                alone.median, alone.max);
    std::printf("with analysis:      min %8.2f  median %8.2f  max %8.2f frames/s\n", analysed.min,
                analysed.median, analysed.max);
    if (steps_asked) {
        std::printf("step forward:       min %8.2f  median %8.2f  max %8.2f ms\n",
                    steps.forward_ms.min, steps.forward_ms.median, steps.forward_ms.max);
        std::printf("step back:          min %8.2f  median %8.2f  max %8.2f ms\n",
                    steps.back_ms.min, steps.back_ms.median, steps.back_ms.max);
        std::printf("working files peak: %.1f MB\n", megabytes(steps.working_files_peak));
    }
    return 0;
}

}  // namespace tavimor
