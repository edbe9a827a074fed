// decode: every shown picture to a YUV4MPEG2 stream or a raw I420 file. The
// writing runs on a second thread while the next frames decode.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/decode_session.h"
#include "cli/output_stream.h"
#include "cli/picture_worker.h"

namespace tavimor {

namespace {

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void append(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

// The rows of the macroblock-aligned picture as the reference buffer holds it.
void add_aligned_rows(std::vector<std::pair<const uint8_t*, size_t>>& rows,
                      const vp8::DecoderInstance& instance) {
    const vp8::FrameBuffer& frame = *instance.frame_to_show;
    for (int r = 0; r < frame.y_height; ++r)
        rows.emplace_back(frame.y + static_cast<size_t>(r) * frame.y_stride,
                          static_cast<size_t>(frame.y_width));
    for (const uint8_t* plane : {frame.u, frame.v})
        for (int r = 0; r < frame.uv_height; ++r)
            rows.emplace_back(plane + static_cast<size_t>(r) * frame.uv_stride,
                              static_cast<size_t>(frame.uv_width));
}

}  // namespace

int run_decode(const CliOptions& options) {
    const auto output = options.value("-o");
    if (!output) throw UsageError("missing -o OUT");
    const bool aligned = options.has("--aligned");
    const bool y4m = !aligned && ends_with(*output, ".y4m");
    std::error_code error;
    if (std::filesystem::equivalent(*output, options.input, error))
        throw InputError("the output file " + *output + " is the input file");
    const StreamInput input(options.input);
    // The writing reads each picture's rows where the decoder holds them.
    DecodeSession session(input.ivf_path(), thread_option(options), kPictureWorkerSlots);
    OutputStream out(*output);
    Pieces pieces;
    PictureWorker worker([&out, &pieces](int64_t, const PictureJob& job) {
        pieces.clear();
        job.for_each_piece(
            [&pieces](const uint8_t* bytes, size_t size) { add_piece(pieces, bytes, size); });
        out.write_pieces(pieces);
    });
    int y4m_width = 0, y4m_height = 0;
    run_with_worker(worker, [&] {
        session.run([&](const DecodedFrame& frame) {
            if (!frame.record) return;
            if (aligned) {
                add_aligned_rows(worker.acquire().rows, *frame.instance);
                worker.submit(frame.picture);
                return;
            }
            const vp8::ImageDescription& image = frame.record->image;
            if (y4m && frame.picture != 0 &&
                (image.display_width != y4m_width || image.display_height != y4m_height))
                throw InputError("picture " + std::to_string(frame.picture) +
                                 " changes the size, which a YUV4MPEG2 stream cannot hold");
            PictureJob& job = worker.acquire();
            std::vector<uint8_t>& bytes = job.copied;
            if (y4m) {
                if (frame.picture == 0) {
                    y4m_width = image.display_width;
                    y4m_height = image.display_height;
                    const IvfFileHeader& header = session.header();
                    const unsigned rate = header.rate ? header.rate : 30;
                    const unsigned scale = header.scale ? header.scale : 1;
                    append(bytes, "YUV4MPEG2 W" + std::to_string(y4m_width) + " H" +
                                      std::to_string(y4m_height) + " F" + std::to_string(rate) +
                                      ":" + std::to_string(scale) + " Ip A1:1 C420jpeg\n");
                }
                append(bytes, std::string("FRAME\n"));
            }
            add_display_rows(*frame.record, job.rows);
            worker.submit(frame.picture);
        });
    });
    out.finish();
    return 0;
}

}  // namespace tavimor
