#include "cli/cli_main.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/cli_error.h"
#include "cli/command_help.h"
#include "cli/commands.h"

namespace tavimor {

namespace {

constexpr char kVersion[] = "tavimor-cli 2.00";

void print_usage(std::FILE* out) {
    std::fputs(usage_text().c_str(), out);
}

bool asks_for_help(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

// "help" alone lists the commands; "help COMMAND" prints that command's help.
int run_help(int argc, char** argv) {
    if (argc < 3) {
        print_usage(stdout);
        return 0;
    }
    const Command* command = find_command(argv[2]);
    if (!command || argc > 3) {
        std::fprintf(stderr, "tavimor-cli: %s %s\n",
                     command ? "help takes one command, not" : "unknown command", argv[argc - 1]);
        print_usage(stderr);
        return 2;
    }
    std::fputs(command_help(*command).c_str(), stdout);
    return 0;
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
    if (first == "help") return run_help(argc, argv);
    const Command* command = find_command(first);
    if (!command) {
        std::fprintf(stderr, "tavimor-cli: unknown command %s\n", first.c_str());
        print_usage(stderr);
        return 2;
    }
    if (asks_for_help(argc, argv)) {
        std::fputs(command_help(*command).c_str(), stdout);
        return 0;
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
