// compare: how far every shown picture is from the original: the PSNR of Y,
// U, V and all three (6:1:1), or "identical", then the averages and the
// lowest picture.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/original_input.h"
#include "vp8module/reference_video.h"
#include "vp8module/stream_survey.h"

namespace tavimor {

namespace {

std::string json_number(double db) {
    return psnr_value(db);
}

void print_text(const StreamPsnr& psnr) {
    for (size_t i = 0; i < psnr.pictures.size(); ++i) {
        const auto& picture = psnr.pictures[i];
        if (!picture)
            std::printf("%zu\tno original picture\n", i + 1);
        else if (picture->identical)
            std::printf("%zu\tidentical\n", i + 1);
        else
            std::printf("%zu\t%s\t%s\t%s\t%s\n", i + 1, psnr_value(picture->y).c_str(),
                        psnr_value(picture->u).c_str(), psnr_value(picture->v).c_str(),
                        psnr_value(picture->all).c_str());
    }
    if (const auto average = psnr.average())
        std::printf("average\t%s\t%s\t%s\t%s\n", psnr_value(average->y).c_str(),
                    psnr_value(average->u).c_str(), psnr_value(average->v).c_str(),
                    psnr_value(average->all).c_str());
    else
        std::printf("average\tidentical\n");
    if (const auto minimum = psnr.minimum())
        std::printf("minimum\t%s\tpicture %d\n", psnr_value(minimum->second.all).c_str(),
                    minimum->first);
    else
        std::printf("minimum\tidentical\n");
}

std::string json_values(const PicturePsnr& psnr) {
    return "\"y\": " + json_number(psnr.y) + ", \"u\": " + json_number(psnr.u) +
           ", \"v\": " + json_number(psnr.v) + ", \"all\": " + json_number(psnr.all);
}

constexpr const char* kNullValues = "\"y\": null, \"u\": null, \"v\": null, \"all\": null";

void print_json(const StreamPsnr& psnr) {
    std::printf("{\"pictures\": [");
    bool first = true;
    for (size_t i = 0; i < psnr.pictures.size(); ++i) {
        const auto& picture = psnr.pictures[i];
        if (!picture) continue;  // no original picture to compare with
        std::printf("%s{\"picture\": %zu, \"identical\": %s, %s}", first ? "" : ", ", i + 1,
                    picture->identical ? "true" : "false",
                    picture->identical ? kNullValues : json_values(*picture).c_str());
        first = false;
    }
    const auto average = psnr.average();
    const auto minimum = psnr.minimum();
    std::printf("], \"average\": {%s}, \"minimum\": ",
                average ? json_values(*average).c_str() : kNullValues);
    if (minimum)
        std::printf("{\"picture\": %d, %s}}\n", minimum->first,
                    json_values(minimum->second).c_str());
    else
        std::printf("null}\n");
}

}  // namespace

int run_compare(const CliOptions& options) {
    const auto reference = options.value("--ref");
    if (!reference) throw UsageError("missing --ref REF");
    const StreamInput input(options.input);
    const std::unique_ptr<ReferenceVideo> original = open_original(input.ivf_path(), *reference);
    const StreamPsnr psnr = compare_stream(input.ivf_path(), *original);
    if (options.has("--json"))
        print_json(psnr);
    else
        print_text(psnr);
    return 0;
}

}  // namespace tavimor
