// The table of commands with their usage lines and options.
#include "cli/commands.h"
#include "cli/step_timing.h"

namespace tavimor {

const std::vector<Command>& all_commands() {
    static const std::vector<Command> kCommands = {
        {"md5",
         "md5 [--simd N] [--threads N] INPUT",
         {{"--simd", true}, {"--threads", true}},
         run_md5},
        {"decode",
         "decode INPUT -o OUT [--aligned] [--simd N] [--threads N]",
         {{"-o", true}, {"--aligned", false}, {"--simd", true}, {"--threads", true}},
         run_decode},
        {"trace",
         "trace INPUT [--frames A-B]",
         {{"--frames", true}, {"--simd", true}, {"--threads", true}},
         run_trace},
        {"modes",
         "modes INPUT [--frames A-B]",
         {{"--frames", true}, {"--simd", true}, {"--threads", true}},
         run_modes},
        {"info",
         "info INPUT [--json]",
         {{"--json", false}, {"--simd", true}, {"--threads", true}},
         run_info},
        {"bench",
         "bench INPUT [--runs N] [--json] [--steps [--cache-limit MB]] [--simd N] [--threads N]",
         {{"--runs", true},
          {"--json", false},
          {"--steps", false},
          {"--cache-limit", true},
          {"--simd", true},
          {"--threads", true}},
         run_bench_with_steps},
        {"struct",
         "struct INPUT [-o FILE] [--pes FILE]",
         {{"-o", true}, {"--pes", true}},
         run_struct},
        {"extract", "extract INPUT -o OUT", {{"-o", true}}, run_extract},
        {"summary",
         "summary INPUT --frame N [--cache-limit MB]",
         {{"--frame", true}, {"--cache-limit", true}, {"--simd", true}, {"--threads", true}},
         run_summary},
        {"mbinfo",
         "mbinfo INPUT --frame N [--type pred|pixel|coef] "
         "[--view final|prelf|pred|residual|coef] [--cache-limit MB]",
         {{"--frame", true},
          {"--cache-limit", true},
          {"--type", true},
          {"--view", true},
          {"--simd", true},
          {"--threads", true}},
         run_mbinfo},
        {"render",
         "render INPUT --frame N -o OUT.png [--view final|prelf|pred|residual|orig|diff] "
         "[--ref REF] "
         "[--overlay rect,blocks,mvs] [--stats bits|qp|qpcr|qpcb] [--components y,u,v] "
         "[--bitplanes MASK] [--mb COL,ROW] [--cache-limit MB]",
         {{"--frame", true},
          {"--cache-limit", true},
          {"-o", true},
          {"--view", true},
          {"--ref", true},
          {"--overlay", true},
          {"--stats", true},
          {"--components", true},
          {"--bitplanes", true},
          {"--mb", true},
          {"--simd", true},
          {"--threads", true}},
         run_render},
        {"compare",
         "compare INPUT --ref REF [--json]",
         {{"--ref", true}, {"--json", false}, {"--simd", true}, {"--threads", true}},
         run_compare},
        {"graph",
         "graph INPUT [--ref REF] -o OUT.png",
         {{"--ref", true}, {"-o", true}, {"--simd", true}, {"--threads", true}},
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
