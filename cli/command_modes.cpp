// modes: one JSON line per decoded frame with what was coded.
#include <cstdio>

#include "cli/commands.h"
#include "cli/decode_session.h"
#include "cli/modes_json.h"

namespace tavimor {

int run_modes(const CliOptions& options) {
    const FrameRange range = frames_option(options);
    DecodeSession session(options.input);
    MacroblockCoefficients coefficients;
    vp8::decoder_set_token_observer(&session.context(), &MacroblockCoefficients::observe,
                                    &coefficients);
    auto before = [&](int64_t index) { return index <= range.last; };
    session.run(
        [&](const DecodedFrame& frame) {
            if (frame.failed || !frame.instance || !range.contains(frame.index)) return;
            const std::string line = modes_json_line(frame.index, *frame.instance, coefficients);
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
        },
        before);
    return 0;
}

}  // namespace tavimor
