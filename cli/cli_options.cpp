#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>

#include "cli/cli_error.h"

namespace tavimor {

bool CliOptions::has(const std::string& name) const {
    return values.count(name) || std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::optional<std::string> CliOptions::value(const std::string& name) const {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

CliOptions parse_command_line(const std::string& command, const OptionSpec& spec, int argc,
                              char** argv, int first) {
    CliOptions options;
    options.command = command;
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() > 1 && arg[0] == '-') {
            const auto it = std::find_if(spec.begin(), spec.end(), [&](const OptionHelp& option) {
                return arg == option.name;
            });
            if (it == spec.end()) throw UsageError("unknown option " + arg);
            if (it->argument) {
                if (i + 1 >= argc) throw UsageError("option " + arg + " needs an argument");
                options.values[arg] = argv[++i];
            } else {
                options.flags.push_back(arg);
            }
            continue;
        }
        if (!options.input.empty()) throw UsageError("more than one input");
        options.input = arg;
    }
    if (options.input.empty()) throw UsageError("missing input");
    return options;
}

FrameRange frames_option(const CliOptions& options) {
    const auto text = options.value("--frames");
    if (!text) return FrameRange{};
    const auto range = parse_frame_range(*text);
    if (!range) throw UsageError("bad frame range " + *text);
    return *range;
}

int int_option(const CliOptions& options, const std::string& name, int fallback) {
    const auto text = options.value(name);
    if (!text) return fallback;
    int value = 0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size())
        throw UsageError("bad value for " + name + ": " + *text);
    return value;
}

int64_t cache_limit_option(const CliOptions& options) {
    const int limit = int_option(options, "--cache-limit", 0);
    if (options.has("--cache-limit") && limit < 1)
        throw UsageError("--cache-limit wants a number of megabytes above 0");
    return limit;
}

int thread_option(const CliOptions& options) {
    const int threads = int_option(options, "--threads", 0);
    if (threads < 0) throw UsageError("--threads must be 0 or more");
    return threads;
}

}  // namespace tavimor
