#include "cli/cli_main.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/cli_error.h"
#include "cli/commands.h"

namespace tavimor {

namespace {

constexpr char kVersion[] = "tavimor-cli 2.00";

void print_usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: tavimor-cli <command> [options] INPUT\n       tavimor-cli --help | "
                 "--version\n\ncommands:\n");
    for (const Command& command : all_commands())
        std::fprintf(out, "  tavimor-cli %s\n", command.usage);
}

// Standard descriptors that are closed are opened on /dev/null, so that no
// file the tool opens takes their place (and receives what is printed).
void keep_standard_descriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) >= 0) continue;
        const int opened = ::open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != descriptor) {
            ::dup2(opened, descriptor);
            ::close(opened);
        }
    }
}

void apply_common_options(const CliOptions& options) {
    thread_option(options);
    if (const auto simd = options.value("--simd")) setenv("TAVIMOR_SIMD_CAPS", simd->c_str(), 1);
}

}  // namespace

int run_cli(int argc, char** argv) {
    keep_standard_descriptors();
    if (argc < 2) {
        print_usage(stderr);
        return 2;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        print_usage(stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("%s\n", kVersion);
        return 0;
    }
    const Command* command = find_command(first);
    if (!command) {
        std::fprintf(stderr, "tavimor-cli: unknown command %s\n", first.c_str());
        print_usage(stderr);
        return 2;
    }
    std::string input;
    try {
        const CliOptions options = parse_command_line(first, command->options, argc, argv, 2);
        input = options.input;
        apply_common_options(options);
        const int status = command->run(options);
        // What went to standard output must have arrived: a full disk or a
        // closed pipe is a failure, not a success.
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            throw InputError(std::string("cannot write standard output: ") + std::strerror(errno));
        return status;
    } catch (const UsageError& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "tavimor-cli: %s\nusage: tavimor-cli %s\n", error.what(),
                     command->usage);
        return 2;
    } catch (const InputError& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "tavimor-cli: %s: %s\n", input.c_str(), error.what());
        return 1;
    }
}

}  // namespace tavimor
