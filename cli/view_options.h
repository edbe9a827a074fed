// The options shared by the commands that show the analyser's views
// (summary, mbinfo, render), and their output.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_options.h"

namespace tavimor {

// --frame N: the shown picture, counting from 1. Throws UsageError when it
// is missing or not a number from 1 up.
int picture_option(const CliOptions& options);

// The index of the option's value among the names; fallback without the
// option. Throws UsageError for any other value.
int choice_option(const CliOptions& options, const std::string& name,
                  const std::vector<std::string>& names, int fallback);

// A comma list of names as bits: names[i] gives bits[i]. Throws UsageError
// for an empty list or an unknown name.
int flags_option(const std::string& name, const std::string& list,
                 const std::vector<std::string>& names, const std::vector<int>& bits);

// Writes the bytes to standard output; throws InputError when they could not
// all be written.
void write_standard_output(const std::string& bytes);

}  // namespace tavimor
