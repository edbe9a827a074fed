// The table of commands: usage lines, what each does, and its options with
// their descriptions. The help texts and the manual page are made from it.
#include "cli/commands.h"
#include "cli/step_timing.h"

namespace tavimor {

namespace {

constexpr OptionHelp kSimd = {
    "--simd", "N",
    "The decoder's feature bits, as the environment variable TAVIMOR_SIMD_CAPS (which it "
    "overrides); 0 keeps to the portable kernels."};
constexpr OptionHelp kThreads = {
    "--threads", "N",
    "Decode macroblock rows on N threads (0, the default, and 1 decode on one thread; the "
    "decoder uses at most 16)."};
constexpr OptionHelp kCacheLimit = {
    "--cache-limit", "MB",
    "The budget of the analyser's working files in megabytes, as CacheLimitMB in the "
    "settings file sets it for the window."};
constexpr OptionHelp kFrame = {"--frame", "N",
                               "The picture, counting shown pictures from 1 as the window's "
                               "status label does (\"Frame N\")."};
constexpr OptionHelp kFrames = {
    "--frames", "A-B",
    "Only the decoded frames A to B, counting every decoded frame from 0 in decoding order; A "
    "alone means A-A, A- runs to the end."};
constexpr OptionHelp kJson = {"--json", nullptr, "Print one JSON document instead of text."};
constexpr OptionHelp kRef = {
    "--ref", "REF", "The original pictures: raw I420 at the stream's size, or YUV4MPEG2 (.y4m)."};

}  // namespace

const std::vector<Command>& all_commands() {
    static const std::vector<Command> kCommands = {
        {"md5",
         "md5 [--simd N] [--threads N] INPUT",
         "Prints one line per shown picture, \"<index> <md5>\", index from 0, the MD5 over the "
         "picture at display size in I420 order (Y, then U, then V, no padding). INPUT is an IVF "
         "stream or a Matroska/WebM file.",
         {kSimd, kThreads},
         run_md5},
        {"decode",
         "decode INPUT -o OUT [--aligned] [--simd N] [--threads N]",
         "Writes every shown picture to OUT: YUV4MPEG2 when OUT ends in \".y4m\", raw I420 at "
         "display size otherwise. INPUT is an IVF stream or a Matroska/WebM file.",
         {{"-o", "OUT", "The output file."},
          {"--aligned", nullptr,
           "Raw I420 at the macroblock-aligned size, byte for byte what the window's \"Start YUV "
           "Output\" writes."},
          kSimd,
          kThreads},
         run_decode},
        {"trace",
         "trace INPUT [--frames A-B]",
         "Prints the decoder's header trace text (every frame-header syntax element with its "
         "value and bit position), byte for byte the header trace file of the analyser.",
         {kFrames, kSimd, kThreads},
         run_trace},
        {"modes",
         "modes INPUT [--frames A-B]",
         "Prints one JSON object per decoded frame and line: the frame header and every "
         "macroblock's modes, motion vectors and skip flag.",
         {kFrames, kSimd, kThreads},
         run_modes},
        {"info",
         "info INPUT [--json]",
         "Prints the stream's summary (input kind, sizes, frames, shown pictures, key frames, "
         "invisible frames, bytes) and one row per decoded frame (picture number, type, version, "
         "size, Q, filter level and type, partitions, refreshed references).",
         {kJson, kSimd, kThreads},
         run_info},
        {"bench",
         "bench INPUT [--runs N] [--json] [--steps [--cache-limit MB]] [--simd N] [--threads N]",
         "Decodes the whole stream several times, the decoder alone and with every analysis "
         "output, and prints frames per second as minimum, median and maximum.",
         {{"--runs", "N", "The number of runs of each mode (default 5)."},
          kJson,
          {"--steps", nullptr,
           "Also step through the stream in the analyser's module, forward to the end and back, "
           "and print the milliseconds of one step each way."},
          kCacheLimit,
          kSimd,
          kThreads},
         run_bench_with_steps},
        {"struct",
         "struct INPUT [-o FILE] [--pes FILE]",
         "Prints the structure text of a container (Matroska/WebM, MP4/3GP, MPEG-2 TS, FLV/F4V), "
         "byte for byte the analyser's \"filestruct.txt\".",
         {{"-o", "FILE", "Write the text to FILE instead of standard output."},
          {"--pes", "FILE", "For MPEG-2 TS, also write the PES text (\"pes.txt\") to FILE."}},
         run_struct},
        {"extract",
         "extract INPUT -o OUT",
         "Writes the video track of a container as the analyser's extraction run does: a VP8 "
         "track as IVF, an H.264 track as an Annex B byte stream.",
         {{"-o", "OUT", "The output file."}},
         run_extract},
        {"summary",
         "summary INPUT --frame N [--cache-limit MB]",
         "Prints the \"Picture\" summary text of picture N, byte for byte the summary dialog's "
         "text.",
         {kFrame, kCacheLimit, kSimd, kThreads},
         run_summary},
        {"mbinfo",
         "mbinfo INPUT --frame N [--type pred|pixel|coef] "
         "[--view final|prelf|pred|residual|coef] [--cache-limit MB]",
         "Prints the macroblock information dump of picture N, byte for byte what \"Start MB "
         "Info Dump\" writes for that picture.",
         {kFrame,
          kCacheLimit,
          {"--type", "pred|pixel|coef",
           "The dump type: prediction information (the default), pixels, or coefficients."},
          {"--view", "final|prelf|pred|residual|coef",
           "The view the pixel and coefficient dumps read (default final)."},
          kSimd,
          kThreads},
         run_mbinfo},
        {"render",
         "render INPUT --frame N -o OUT.png [--view final|prelf|pred|residual|orig|diff] "
         "[--ref REF] "
         "[--overlay rect,blocks,mvs] [--stats bits|qp|qpcr|qpcb] [--components y,u,v] "
         "[--bitplanes MASK] [--mb COL,ROW] [--cache-limit MB]",
         "Writes picture N as a PNG exactly as the analyser's window shows it after the same "
         "choices.",
         {kFrame,
          kCacheLimit,
          {"-o", "OUT.png", "The PNG file, of the picture's size."},
          {"--view", "final|prelf|pred|residual|orig|diff",
           "The view tab (default final); orig and diff need --ref."},
          kRef,
          {"--overlay", "LIST", "A comma list of rect, blocks and mvs (default none)."},
          {"--stats", "bits|qp|qpcr|qpcb",
           "Colour the macroblocks by their bits or quantiser indices."},
          {"--components", "LIST", "A comma list of y, u and v (default all)."},
          {"--bitplanes", "MASK", "The bit-plane mask, 0 to 255 (default 255)."},
          {"--mb", "COL,ROW", "The selected macroblock (default 0,0)."},
          kSimd,
          kThreads},
         run_render},
        {"compare",
         "compare INPUT --ref REF [--json]",
         "Prints per shown picture the PSNR of Y, U, V and of all three (weighted 6:1:1) against "
         "the original, or \"identical\"; then the averages and the minimum.",
         {kRef, kJson, kSimd, kThreads},
         run_compare},
        {"graph",
         "graph INPUT [--ref REF] -o OUT.png",
         "Draws the stream graph as the \"Stream Graph\" dialog does: bits per picture, their "
         "one-second moving average and, with --ref, the PSNR per picture.",
         {kRef, {"-o", "OUT.png", "The PNG file."}, kSimd, kThreads},
         run_graph},
    };
    return kCommands;
}

int run_bench_with_steps(const CliOptions& options) {
    return run_bench(options, time_steps);
}

const Command* find_command(const std::string& name) {
    for (const Command& command : all_commands())
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace tavimor
