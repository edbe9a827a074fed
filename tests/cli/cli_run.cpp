#include "tests/cli/cli_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/test_paths.h"

namespace tavimor::test {

CliResult run_cli(const std::string& arguments, const std::string& environment) {
    TempFolder folder;
    const std::string out = folder.path("out"), err = folder.path("err");
    const std::string command = environment + " " + std::string(TAVIMOR_CLI_PATH) + " " +
                                arguments + " >" + out + " 2>" + err;
    CliResult result;
    const int status = std::system(command.c_str());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = read_file(out);
    result.err = read_file(err);
    return result;
}

TempFolder::TempFolder() {
    char pattern[] = "/tmp/tavimor-cli-test-XXXXXX";
    folder_ = mkdtemp(pattern);
}

TempFolder::~TempFolder() {
    std::filesystem::remove_all(folder_);
}

}  // namespace tavimor::test
