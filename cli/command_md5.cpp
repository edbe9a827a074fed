// md5: one line per shown picture with the MD5 of its planes at display size.
// The hashing runs on a second thread while the next frames decode; when it
// falls behind, the decoding thread hashes pictures too.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/decode_session.h"
#include "cli/lines_in_order.h"
#include "cli/md5.h"
#include "cli/picture_worker.h"

namespace tavimor {

int run_md5(const CliOptions& options) {
    const StreamInput input(options.input);
    // The hashing reads each picture's rows where the decoder holds them.
    DecodeSession session(input.ivf_path(), thread_option(options), kPictureWorkerSlots);
    LinesInOrder lines(stdout);
    PictureWorker worker(
        [&lines](int64_t picture, const PictureJob& job) {
            Md5 md5;
            job.for_each_piece(
                [&md5](const uint8_t* bytes, size_t size) { md5.update(bytes, size); });
            lines.add(picture, std::to_string(picture) + " " + md5.hex_digest() + "\n");
        },
        kPictureWorkerSlots, PictureWorker::Sharing::kProducerHelps);
    run_with_worker(worker, [&] {
        session.run([&](const DecodedFrame& frame) {
            if (!frame.record) return;
            add_display_rows(*frame.record, worker.acquire().rows);
            worker.submit(frame.picture);
        });
    });
    return 0;
}

}  // namespace tavimor
