#include "cli/step_timing.h"

#include <algorithm>
#include <vector>

#include "cli/cli_error.h"
#include "cli/module_session.h"

namespace tavimor {

StepTimes time_steps(const std::string& ivf_path, int64_t cache_limit_mb) {
    ModuleSession session(ivf_path, cache_limit_mb);
    std::vector<double> forward, back;
    int64_t peak = 0;
    for (;;) {
        const int before = session.picture();
        const double ms = session.timed_step(1);
        peak = std::max(peak, session.working_files_size());
        if (session.picture() == before) break;  // the end of the stream
        forward.push_back(ms);
    }
    while (session.picture() > 1) {
        const int before = session.picture();
        const double ms = session.timed_step(0);
        peak = std::max(peak, session.working_files_size());
        if (session.picture() == before) break;
        back.push_back(ms);
    }
    if (back.empty()) throw InputError("--steps needs a stream of at least two pictures");
    return {spread_of(forward), spread_of(back), peak};
}

}  // namespace tavimor
