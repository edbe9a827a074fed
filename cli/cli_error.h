// Failures of a command-line run: a usage error (exit status 2) or an input
// that could not be read or decoded (exit status 1).
#pragma once

#include <stdexcept>
#include <string>

namespace tavimor {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace tavimor
