// md5: one line per shown picture with the MD5 of its planes at display size.
#include <cstdio>

#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/decode_session.h"

namespace tavimor {

int run_md5(const CliOptions& options) {
    const StreamInput input(options.input);
    DecodeSession session(input.ivf_path(), thread_option(options));
    session.run([](const DecodedFrame& frame) {
        if (!frame.record) return;
        std::printf("%lld %s\n", static_cast<long long>(frame.picture),
                    picture_md5(*frame.record).c_str());
    });
    return 0;
}

}  // namespace tavimor
