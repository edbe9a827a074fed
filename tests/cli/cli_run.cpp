#include "tests/cli/cli_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/test_paths.h"

namespace tavimor::test {

namespace {

CliResult run_command(const std::string& environment, const std::string& arguments,
                      const std::string& out) {
    TempFolder folder;
    const std::string err = folder.path("err");
    const std::string command = environment + " " + std::string(TAVIMOR_CLI_PATH) + " " +
                                arguments + " >" + out + " 2>" + err;
    CliResult result;
    const int status = std::system(command.c_str());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = read_file(err);
    return result;
}

}  // namespace

CliResult run_cli(const std::string& arguments, const std::string& environment) {
    TempFolder folder;
    const std::string out = folder.path("out");
    CliResult result = run_command(environment, arguments, out);
    result.out = read_file(out);
    return result;
}

CliResult run_cli_into(const std::string& arguments, const std::string& standard_output) {
    return run_command("", arguments, standard_output);
}

TempFolder::TempFolder() {
    char pattern[] = "/tmp/tavimor-cli-test-XXXXXX";
    folder_ = mkdtemp(pattern);
}

TempFolder::~TempFolder() {
    std::filesystem::remove_all(folder_);
}

std::string left_behind(const std::string& temp_directory) {
    std::string names;
    for (const auto& entry : std::filesystem::directory_iterator(temp_directory)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("tavimor-", 0) == 0 && std::filesystem::is_empty(entry.path())) continue;
        names += name + " ";
    }
    return names;
}

}  // namespace tavimor::test
