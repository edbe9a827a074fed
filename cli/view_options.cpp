#include "cli/view_options.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/cli_error.h"

namespace tavimor {

namespace {

std::string joined(const std::vector<std::string>& names, const char* separator) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : separator) + name;
    return text;
}

}  // namespace

int picture_option(const CliOptions& options) {
    if (!options.has("--frame")) throw UsageError("missing --frame N");
    const int picture = int_option(options, "--frame", 0);
    if (picture < 1) throw UsageError("--frame counts shown pictures from 1");
    return picture;
}

int choice_option(const CliOptions& options, const std::string& name,
                  const std::vector<std::string>& names, int fallback) {
    const auto value = options.value(name);
    if (!value) return fallback;
    for (size_t i = 0; i < names.size(); ++i)
        if (*value == names[i]) return static_cast<int>(i);
    throw UsageError("bad value for " + name + ": " + *value + " (one of " + joined(names, ", ") +
                     ")");
}

int flags_option(const std::string& name, const std::string& list,
                 const std::vector<std::string>& names, const std::vector<int>& bits) {
    int flags = 0;
    size_t start = 0;
    while (true) {
        const size_t end = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, end - start);
        size_t i = 0;
        while (i < names.size() && names[i] != item) ++i;
        if (i == names.size())
            throw UsageError("bad value for " + name + ": " + list + " (a comma list of " +
                             joined(names, ", ") + ")");
        flags |= bits[i];
        if (end == list.size()) return flags;
        start = end + 1;
    }
}

void write_standard_output(const std::string& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0)
        throw InputError(std::string("cannot write standard output: ") + std::strerror(errno));
}

}  // namespace tavimor
