#include "cli/cli_error.h"
#include "cli/commands.h"

namespace tavimor {
int run_modes(const CliOptions&) { throw InputError("not yet"); }
}  // namespace tavimor
