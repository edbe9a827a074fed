// The view commands of a build without the window layers: the analyser's
// module is not there to run.
#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/step_timing.h"

namespace tavimor {

namespace {

[[noreturn]] void unavailable() {
    throw InputError(
        "this build of tavimor-cli has no analyser module (built without the window "
        "layers)");
}

}  // namespace

int run_summary(const CliOptions&) {
    unavailable();
}

int run_mbinfo(const CliOptions&) {
    unavailable();
}

int run_render(const CliOptions&) {
    unavailable();
}

int run_graph(const CliOptions&) {
    unavailable();
}

StepTimes time_steps(const std::string&, int64_t) {
    unavailable();
}

}  // namespace tavimor
