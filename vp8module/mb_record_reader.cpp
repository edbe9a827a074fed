#include "vp8module/mb_record_reader.h"

#include <cstdio>

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

}  // namespace

vp8::MbAnalysisRecord read_mb_record(Vp8ModuleState& state, int column, int row) {
    vp8::MbAnalysisRecord record{};
    // Each row holds one more record than the picture has columns: a border
    // record that is never shown.
    const int64_t stride = view_state().picture_width / kMbSize + 1;
    const int64_t index = column + row * stride;
    const int64_t offset = (state.record ? state.record->mbinfo_position : 0) +
                           index * static_cast<int64_t>(vp8::kMbAnalysisRecordSize);
    size_t got = 0;
    if (state.mbinfo_reader && std::fseek(state.mbinfo_reader, offset, SEEK_SET) == 0)
        got = std::fread(&record, 1, sizeof record, state.mbinfo_reader);
    if (got < sizeof record) report_short_read();
    return record;
}

}  // namespace tavimor
