// graph: the stream graph as the analyser's "Stream Graph" dialog draws it,
// as a PNG file.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/original_input.h"
#include "cli/output_stream.h"
#include "display/stream_graph.h"
#include "display/surface.h"
#include "display/surface_canvas.h"
#include "platform/png_writer.h"
#include "vp8module/reference_video.h"
#include "vp8module/stream_survey.h"

namespace tavimor {

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 260;
constexpr int kMargin = 4;

StreamGraph graph_of(const StreamSurvey& survey, const StreamPsnr& psnr) {
    StreamGraph graph;
    graph.frame_rate = survey.frame_rate;
    for (size_t i = 0; i < survey.pictures.size(); ++i) {
        GraphPicture picture{survey.pictures[i].bits, survey.pictures[i].key, {}, false};
        if (i < psnr.pictures.size() && psnr.pictures[i]) {
            picture.identical = psnr.pictures[i]->identical;
            if (!picture.identical) picture.psnr = psnr.pictures[i]->all;
        }
        graph.pictures.push_back(picture);
    }
    return graph;
}

}  // namespace

int run_graph(const CliOptions& options) {
    const auto output = options.value("-o");
    if (!output) throw UsageError("missing -o OUT.png");
    std::error_code error;
    if (std::filesystem::equivalent(*output, options.input, error))
        throw InputError("the output file " + *output + " is the input file");
    const StreamInput input(options.input);
    const StreamSurvey survey = survey_stream(input.ivf_path());
    if (survey.pictures.empty()) throw InputError("not a readable IVF stream with pictures");
    StreamPsnr psnr;
    if (const auto reference = options.value("--ref")) {
        psnr = compare_stream(input.ivf_path(), *open_original(input.ivf_path(), *reference));
    }
    Surface surface;
    if (!allocate_surface(surface, kWidth, kHeight, 4)) throw InputError("out of memory");
    std::fill(surface.pixels.begin(), surface.pixels.end(), 0xFF);  // white
    SurfaceCanvas canvas(surface);
    draw_stream_graph(canvas, graph_of(survey, psnr),
                      {kMargin, kMargin, kWidth - kMargin, kHeight - kMargin});
    const auto png = encode_png(view_of(surface));
    if (!png) throw InputError("the graph could not be encoded as PNG");
    write_whole_file(*output, png->data(), png->size());
    return 0;
}

}  // namespace tavimor
