// The commands of tavimor-cli. Each returns the exit status or throws
// UsageError / InputError.
#pragma once

#include "cli/cli_options.h"

namespace tavimor {

struct Command {
    const char* name;
    const char* usage;    // options and operands after the command name
    const char* summary;  // what the command does, one paragraph
    OptionSpec options;
    int (*run)(const CliOptions& options);
};

const Command* find_command(const std::string& name);
const std::vector<Command>& all_commands();

int run_trace(const CliOptions& options);
int run_md5(const CliOptions& options);
int run_decode(const CliOptions& options);
int run_modes(const CliOptions& options);
int run_info(const CliOptions& options);
// bench's decoder figures; with --steps also the module's step times, from
// `time_steps` (the view commands' side).
struct StepTimes;
int run_bench(const CliOptions& options,
              StepTimes (*time_steps)(const std::string& ivf_path, int64_t cache_limit_mb));
int run_bench_with_steps(const CliOptions& options);
int run_struct(const CliOptions& options);
int run_extract(const CliOptions& options);
// The analyser's views of one picture, through its module on the headless
// window system.
int run_summary(const CliOptions& options);
int run_mbinfo(const CliOptions& options);
int run_render(const CliOptions& options);
int run_graph(const CliOptions& options);
// The PSNR of every picture against an original.
int run_compare(const CliOptions& options);

}  // namespace tavimor
