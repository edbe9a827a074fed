// render: the picture area as the analyser window shows it after the same
// choices (view tab, overlays, statistics numbers, components, bit planes,
// selected macroblock), as a PNG file of the picture's size.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/module_session.h"
#include "cli/original_input.h"
#include "cli/output_stream.h"
#include "cli/view_options.h"
#include "platform/png_writer.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

// The window's view tabs, and the two that show a reference picture.
const std::vector<std::string> kViews = {"final", "prelf", "pred", "residual", "orig", "diff"};
constexpr int kFirstReferenceView = 4;

struct RenderChoices {
    int view_tab = 0;
    int overlay_flags = 0;
    int statistics_type = kStatisticsOff;
    int component_mask = kAllComponents;
    int bit_plane_mask = 255;
    int mb_column = 0;
    int mb_row = 0;
};

bool parse_whole(const std::string& text, int& value, int base = 10) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, base);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// MASK: decimal, or hexadecimal after "0x"; 0 to 255.
int bit_plane_option(const std::string& text) {
    int mask = -1;
    const bool hex =
        text.size() > 2 && (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0);
    if (!(hex ? parse_whole(text.substr(2), mask, 16) : parse_whole(text, mask)) || mask < 0 ||
        mask > 255)
        throw UsageError("bad value for --bitplanes: " + text + " (a mask from 0 to 255)");
    return mask;
}

// COL,ROW: the macroblock's column and row, from 0.
void macroblock_option(const std::string& text, RenderChoices& choices) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos || !parse_whole(text.substr(0, comma), choices.mb_column) ||
        !parse_whole(text.substr(comma + 1), choices.mb_row) || choices.mb_column < 0 ||
        choices.mb_row < 0)
        throw UsageError("bad value for --mb: " + text + " (COL,ROW from 0)");
}

RenderChoices render_choices(const CliOptions& options) {
    RenderChoices choices;
    choices.view_tab = choice_option(options, "--view", kViews, 0);
    if (const auto list = options.value("--overlay"))
        choices.overlay_flags = flags_option("--overlay", *list, {"rect", "blocks", "mvs"},
                                             {kOverlayMbRect, kOverlayMbBlocks, kOverlayMbMvs});
    // Statistics types 1 to 4, as the display control's radio buttons.
    choices.statistics_type =
        choice_option(options, "--stats", {"off", "bits", "qp", "qpcr", "qpcb"}, kStatisticsOff);
    if (const auto list = options.value("--components"))
        choices.component_mask = flags_option("--components", *list, {"y", "u", "v"}, {4, 2, 1});
    if (const auto mask = options.value("--bitplanes"))
        choices.bit_plane_mask = bit_plane_option(*mask);
    if (const auto mb = options.value("--mb")) macroblock_option(*mb, choices);
    return choices;
}

}  // namespace

int run_render(const CliOptions& options) {
    const int picture = picture_option(options);
    const auto output = options.value("-o");
    if (!output) throw UsageError("missing -o OUT.png");
    const RenderChoices choices = render_choices(options);
    const auto reference = options.value("--ref");
    if (choices.view_tab >= kFirstReferenceView && !reference)
        throw UsageError("--view orig and diff need --ref REF");
    std::error_code error;
    if (std::filesystem::equivalent(*output, options.input, error))
        throw InputError("the output file " + *output + " is the input file");

    const StreamInput input(options.input);
    if (reference) open_original(input.ivf_path(), *reference);  // refused as compare refuses it
    std::vector<uint8_t> png;
    {
        ModuleSession session(input.ivf_path(), cache_limit_option(options));
        session.show_picture(picture);
        if (reference) session.load_reference(*reference);
        session.select_macroblock(choices.mb_column, choices.mb_row);
        ViewState& view = view_state();
        view.selected_tab = choices.view_tab;
        view.overlay_flags = choices.overlay_flags;
        view.statistics_type = choices.statistics_type;
        view.component_mask = choices.component_mask;
        view.bit_plane_mask = choices.bit_plane_mask;
        session.redraw();
        const auto encoded = encode_png(session.composition());
        if (!encoded) throw InputError("the picture could not be encoded as PNG");
        png = *encoded;
    }
    write_whole_file(*output, png.data(), png.size());
    return 0;
}

}  // namespace tavimor
