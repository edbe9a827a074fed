// md5: one line per shown picture with the MD5 of its planes at display size.
// The hashing runs on a second thread while the next frames decode, several
// pictures side by side; when it falls behind, the decoding thread hashes
// pictures too.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/decode_session.h"
#include "cli/lines_in_order.h"
#include "cli/md5_lanes.h"
#include "cli/picture_worker.h"

namespace tavimor {

int run_md5(const CliOptions& options) {
    const StreamInput input(options.input);
    // Pictures are hashed side by side, a batch filling a register's lanes,
    // while the next batch decodes; a batch hashes in less time than half a
    // batch decodes, so half a batch more of held pictures keeps the decoding
    // going.
    const int batch = kMd5Lanes;
    const int slots = batch + batch / 2;
    // The hashing reads each picture's rows where the decoder holds them.
    DecodeSession session(input.ivf_path(), thread_option(options), slots);
    LinesInOrder lines(stdout);
    PictureWorker worker(
        [&lines](const std::vector<TaggedPicture>& pictures) {
            std::vector<Md5Pieces> messages(pictures.size());
            std::vector<const Md5Pieces*> message_of;
            for (size_t p = 0; p < pictures.size(); ++p) {
                pictures[p].picture->for_each_piece([&](const uint8_t* bytes, size_t size) {
                    messages[p].emplace_back(bytes, size);
                });
                message_of.push_back(&messages[p]);
            }
            const std::vector<std::string> digests = md5_hex_digests(message_of);
            for (size_t p = 0; p < pictures.size(); ++p)
                lines.add(pictures[p].tag,
                          std::to_string(pictures[p].tag) + " " + digests[p] + "\n");
        },
        batch, slots, PictureWorker::Sharing::kProducerHelps);
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
