#include "vp8module/information_views.h"

#include <cstdio>

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/indented_tree.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/original_views.h"
#include "vp8module/picture_records.h"
#include "vp8module/pixel_text.h"
#include "vp8module/summary_text.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;
constexpr int kHeaderTreeLines = 50000;
constexpr int kPictureTab = 0;

int selected_tab(Platform& platform, WindowHandle dialog, int tabs_id) {
    return platform.tab_selection(platform.dialog_item(dialog, tabs_id));
}

void set_text(WindowHandle dialog, int id, const std::string& text) {
    Platform* platform = shell_services().platform;
    if (platform && dialog != kNoWindow)
        platform->set_window_text(platform->dialog_item(dialog, id), text);
}

// The text of the dialog's selected tab for the selected macroblock, into its text view.
template <typename TextOf>
void show_selection_text(WindowHandle dialog, int tabs_id, int text_id, TextOf text_of) {
    Platform* platform = shell_services().platform;
    if (!platform || dialog == kNoWindow) return;
    const ViewState& view = view_state();
    set_text(dialog, text_id,
             text_of(selected_tab(*platform, dialog, tabs_id), view.selected_x, view.selected_y));
}

SummaryFacts summary_facts(const Vp8ModuleState& state) {
    const ViewState& view = view_state();
    SummaryFacts facts;
    facts.picture_number = view.current_frame_index;
    facts.summary = state.summary;
    facts.display_width = state.record->image.display_width;
    facts.display_height = state.record->image.display_height;
    facts.coded_width = view.shown_picture.width;
    facts.coded_height = view.shown_picture.height;
    facts.frame_size = state.frame_size;
    facts.frame_position = state.frame_position;
    return facts;
}

}  // namespace

MbPlace mb_place_at(int x, int y) {
    const int column = x / kMbSize, row = y / kMbSize;
    return {column, row, column + row * (view_state().picture_width / kMbSize)};
}

std::string mb_info_tab_text(Vp8ModuleState& state, int tab, int x, int y) {
    const MbPlace place = mb_place_at(x, y);
    const vp8::MbAnalysisRecord& record = mb_record(state, place.column, place.row);
    if (tab == kPredInfoTab)
        return pred_info_text(record, place, ReferenceNumbers::of(*state.record));
    return mb_info_text(record, place);
}

std::string header_trace_text(Vp8ModuleState& state) {
    std::string text;
    if (!state.record || !state.header_text_reader) return text;
    if (std::fseek(state.header_text_reader, state.record->trace_position, SEEK_SET) != 0)
        return text;
    text.resize(static_cast<size_t>(std::max<int64_t>(state.record->trace_length, 0)));
    text.resize(std::fread(text.data(), 1, text.size(), state.header_text_reader));
    return text;
}

void show_mb_info(Vp8ModuleState& state) {
    if (state.record)
        show_selection_text(
            shell_services().information.mb_info, ctl::kMbInfoTabs, ctl::kMbInfoText,
            [&state](int tab, int x, int y) { return mb_info_tab_text(state, tab, x, y); });
}

void show_pixel_info(Vp8ModuleState& state) {
    show_selection_text(
        shell_services().information.pixel_info, ctl::kPixelInfoTabs, ctl::kPixelInfoText,
        [&state](int tab, int x, int y) { return pixel_info_text(state, tab, x, y); });
}

void show_summary(Vp8ModuleState& state) {
    ShellServices& services = shell_services();
    WindowHandle dialog = services.information.summary;
    if (!services.platform || dialog == kNoWindow || !state.record) return;
    if (selected_tab(*services.platform, dialog, ctl::kSummaryTabs) == kPictureTab)
        state.summary_text = summary_text(summary_facts(state), picture_records(state)) +
                             working_files_lines(state.space.stored_count(), state.pictures_reached,
                                                 state.space.used(), state.space.budget()) +
                             original_summary_lines(state, view_state().current_frame_index);
    set_text(dialog, ctl::kSummaryText, state.summary_text);
}

void show_header_tree(Vp8ModuleState& state) {
    ShellServices& services = shell_services();
    WindowHandle dialog = services.information.header;
    Platform* platform = services.platform;
    if (!platform || dialog == kNoWindow || !state.record || !state.header_text_reader) return;
    const WindowHandle tree = platform->dialog_item(dialog, ctl::kHeaderTree);
    const int64_t position = state.record->trace_position;
    const bool shown = tree == state.header_tree_control && position == state.header_tree_position;
    if (!shown && std::fseek(state.header_text_reader, position, SEEK_SET) == 0) {
        fill_indented_tree(*platform, tree, state.header_text_reader,
                           position + state.record->trace_length, kHeaderTreeLines);
        state.header_tree_control = tree;
        state.header_tree_position = position;
    }
    for (int id = ctl::kHeaderAuxFirst; id <= ctl::kHeaderAuxLast; ++id)
        platform->show_window(platform->dialog_item(dialog, id), ShowCommand::kHide);
    platform->show_window(platform->dialog_item(dialog, ctl::kHeaderTree), ShowCommand::kShow);
}

void show_information(Vp8ModuleState& state) {
    show_mb_info(state);
    show_pixel_info(state);
    show_summary(state);
    show_header_tree(state);
    // The stream graph marks the picture shown.
    ShellServices& services = shell_services();
    if (services.platform && services.stream_graph_dialog != kNoWindow &&
        services.platform->is_window_visible(services.stream_graph_dialog))
        services.platform->invalidate(services.stream_graph_dialog);
}

}  // namespace tavimor
