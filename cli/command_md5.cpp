// md5: one line per shown picture with the MD5 of its planes at display size.
// The hashing runs on a second thread while the next frames decode.
#include <cstdio>

#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/decode_session.h"
#include "cli/md5.h"
#include "cli/picture_worker.h"

namespace tavimor {

int run_md5(const CliOptions& options) {
    const StreamInput input(options.input);
    DecodeSession session(input.ivf_path(), thread_option(options));
    PictureWorker worker([](int64_t picture, const std::vector<uint8_t>& bytes) {
        Md5 md5;
        md5.update(bytes.data(), bytes.size());
        std::printf("%lld %s\n", static_cast<long long>(picture), md5.hex_digest().c_str());
    });
    run_with_worker(worker, [&] {
        session.run([&](const DecodedFrame& frame) {
            if (!frame.record) return;
            append_display_rows(*frame.record, worker.acquire());
            worker.submit(frame.picture);
        });
    });
    return 0;
}

}  // namespace tavimor
