// Runs tavimor-cli as a script would and collects what it printed.
#pragma once

#include <string>

namespace tavimor::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs tavimor-cli with the given arguments (shell-quoted by the caller),
// with the environment assignments given ("NAME=value ...") added.
CliResult run_cli(const std::string& arguments, const std::string& environment = "");

// The same with standard output sent to `standard_output` (a path such as
// /dev/full); `out` stays empty.
CliResult run_cli_into(const std::string& arguments, const std::string& standard_output);

// What a command left in the temporary directory it was given: the names of
// everything there but the user's private folder while it is empty (the
// command's own working folder inside it must be gone).
std::string left_behind(const std::string& temp_directory);

// A private folder removed when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

  private:
    std::string folder_;
};

}  // namespace tavimor::test
