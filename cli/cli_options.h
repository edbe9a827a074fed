// Parsing of the command line: the command, its options and the input.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/frame_range.h"

namespace tavimor {

struct CliOptions {
    std::string command;
    std::string input;
    std::map<std::string, std::string> values;  // options with an argument
    std::vector<std::string> flags;             // options without one

    bool has(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
};

// One option a command accepts, with what its help and manual page say of it.
struct OptionHelp {
    const char* name;         // "--frame", "-o"
    const char* argument;     // the argument's placeholder ("N"), or null for a flag
    const char* description;  // one sentence or two
};

// The options a command accepts, in the order its help lists them.
using OptionSpec = std::vector<OptionHelp>;

// Parses argv[first..] against the command's options. Throws UsageError.
CliOptions parse_command_line(const std::string& command, const OptionSpec& spec, int argc,
                              char** argv, int first);

// Option helpers that throw UsageError on bad values.
FrameRange frames_option(const CliOptions& options);
int int_option(const CliOptions& options, const std::string& name, int fallback);
// --cache-limit MB: the budget of the analyser's working files (0 when not
// given: the default budget).
int64_t cache_limit_option(const CliOptions& options);
// --threads: 0 (the default) or 1 decode on one thread; more decode rows on
// that many threads (the decoder uses at most 16).
int thread_option(const CliOptions& options);

}  // namespace tavimor
