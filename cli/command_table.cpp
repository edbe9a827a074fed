// The table of commands with their usage lines and options.
#include "cli/commands.h"

namespace tavimor {

const std::vector<Command>& all_commands() {
    static const std::vector<Command> kCommands = {
        {"md5", "md5 [--simd N] INPUT", {{"--simd", true}, {"--threads", true}}, run_md5},
        {"decode",
         "decode INPUT -o OUT [--aligned] [--simd N]",
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
         "bench INPUT [--runs N] [--json] [--simd N]",
         {{"--runs", true}, {"--json", false}, {"--simd", true}, {"--threads", true}},
         run_bench},
        {"struct",
         "struct INPUT [-o FILE] [--pes FILE]",
         {{"-o", true}, {"--pes", true}},
         run_struct},
        {"extract", "extract INPUT -o OUT", {{"-o", true}}, run_extract},
    };
    return kCommands;
}

const Command* find_command(const std::string& name) {
    for (const Command& command : all_commands())
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace tavimor
