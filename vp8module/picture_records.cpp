#include "vp8module/picture_records.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;

void report_short_read() {
    ShellServices& services = shell_services();
    if (services.platform)
        services.platform->message_box(services.main_window, "Failed to get mb information!",
                                       "Warning", mb::kOk | mb::kIconError);
}

// Reads the picture's rows: each holds one record more than the picture has
// columns, a border record that is never shown and is dropped here. The rows
// are read straight into the records kept for the picture and closed up in
// place, so that a step reuses the memory of the step before.
void load(Vp8ModuleState& state, const MbGrid& grid) {
    const size_t columns = static_cast<size_t>(grid.columns);
    const size_t stride = columns + 1;
    std::vector<vp8::MbAnalysisRecord>& records = state.records;
    records.resize(stride * grid.rows);
    size_t got = 0;
    if (state.mbinfo_reader &&
        std::fseek(state.mbinfo_reader, state.record->mbinfo_position, SEEK_SET) == 0)
        got = std::fread(records.data(), sizeof(vp8::MbAnalysisRecord), records.size(),
                         state.mbinfo_reader);
    if (got < records.size()) {
        report_short_read();
        std::fill(records.begin() + static_cast<std::ptrdiff_t>(got), records.end(),
                  vp8::MbAnalysisRecord{});
    }
    for (size_t row = 1; row < static_cast<size_t>(grid.rows); ++row)
        std::memmove(&records[row * columns], &records[row * stride],
                     columns * sizeof(vp8::MbAnalysisRecord));
    records.resize(columns * grid.rows);
}

}  // namespace

MbGrid picture_grid() {
    const ViewState& view = view_state();
    return {view.picture_width / kMbSize, view.picture_height / kMbSize};
}

const std::vector<vp8::MbAnalysisRecord>& picture_records(Vp8ModuleState& state) {
    if (!state.record) {
        state.records.clear();
        state.records_position = -1;
        return state.records;
    }
    if (state.records_position != state.record->mbinfo_position) {
        load(state, picture_grid());
        state.records_position = state.record->mbinfo_position;
    }
    return state.records;
}

const vp8::MbAnalysisRecord& mb_record(Vp8ModuleState& state, int column, int row) {
    static const vp8::MbAnalysisRecord kNone{};
    const MbGrid grid = picture_grid();
    const std::vector<vp8::MbAnalysisRecord>& records = picture_records(state);
    if (column < 0 || row < 0 || column >= grid.columns || row >= grid.rows ||
        records.size() != static_cast<size_t>(grid.columns) * grid.rows)
        return kNone;
    return records[static_cast<size_t>(row) * grid.columns + column];
}

}  // namespace tavimor
