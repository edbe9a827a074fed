// How long the analyser's module takes for one step through a stream, as the
// window steps: decode (or recall from the picture cache), refresh the views
// and present the picture.
#pragma once

#include <cstdint>
#include <string>

#include "cli/spread.h"

namespace tavimor {

struct StepTimes {
    Spread forward_ms;               // decode, cache, refresh, present
    Spread back_ms;                  // recall (or decode again), refresh, present
    int64_t working_files_peak = 0;  // bytes, the largest the working files were
};

// Steps the module forward through the whole IVF stream, then back to its
// first picture, on the window system in memory, with the working files
// within cache_limit_mb megabytes (0: the default budget). Throws InputError
// when the stream cannot be opened or stepped, or when this build has no
// module.
StepTimes time_steps(const std::string& ivf_path, int64_t cache_limit_mb);

}  // namespace tavimor
