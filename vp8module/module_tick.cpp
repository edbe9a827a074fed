// One step of the VP8 module: recall a cached picture or decode the next
// frames of the file until one is shown.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "display/video_display.h"
#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "resources/menu_templates.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8dec/error_codes.h"
#include "vp8module/fatal_error.h"
#include "vp8module/mb_info_dump.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"
#include "vp8module/yuv_output.h"

namespace tavimor {

namespace {

vp8::PlanarPicture* record_pictures(vp8::FrameAnalysisRecord& record, int n) {
    vp8::PlanarPicture* pictures[3] = {&record.final_picture, &record.prelf_picture,
                                       &record.predicted_picture};
    return pictures[n];
}

uint32_t pack_reference_numbers(const vp8::FrameAnalysisRecord& record) {
    return record.unused | (record.last_frame_number << 8) | (record.golden_frame_number << 16) |
           (static_cast<uint32_t>(record.altref_frame_number) << 24);
}

void unpack_reference_numbers(vp8::FrameAnalysisRecord& record, uint32_t packed) {
    record.unused = static_cast<uint8_t>(packed);
    record.last_frame_number = static_cast<uint8_t>(packed >> 8);
    record.golden_frame_number = static_cast<uint8_t>(packed >> 16);
    record.altref_frame_number = static_cast<uint8_t>(packed >> 24);
}

// The working files (picture cache, analysis files) could not be written or
// read back, most likely for a full disk: going on would show wrong pictures
// and texts later, so the analyser stops with the reason.
[[noreturn]] void stop_on_working_files(const char* what) {
    const int error = errno;
    const std::string text = std::string(what) +
                             " in the temporary folder: " + std::strerror(error) +
                             ".\nThe analyser stops.";
    ShellServices& services = shell_services();
    if (services.platform)
        services.platform->message_box(services.main_window, text, "Warning",
                                       mb::kOk | mb::kIconError);
    exit_process(1);
}

// Hands the decoder's analysis files over to their readers (the decoder does
// not flush them); whether a write into one of them has failed.
bool analysis_files_failed(const Vp8ModuleState& state) {
    if (!state.analysis) return false;
    for (std::FILE* file :
         {state.analysis->trace_file, state.analysis->mbinfo_file, state.analysis->coef_file})
        if (file && (std::fflush(file) != 0 || std::ferror(file))) return true;
    return false;
}

// Makes the view, the own picture and the video surface fit pictures of the
// given size: on the first picture since open, and whenever the stream's
// picture size changes.
void adopt_picture_size(Vp8ModuleState& state, int width, int height) {
    ViewState& view = view_state();
    if (state.own_picture.width == width && state.own_picture.height == height) return;
    view.picture_width = width;
    view.picture_height = height;
    vp8::release_planar_picture(state.own_picture);
    vp8::allocate_planar_picture(state.own_picture, width, height, width / 2, height / 2);
    ShellServices& services = shell_services();
    if (services.display &&
        !display_init_surfaces(services.display, height, width, view.origin_y, view.origin_x) &&
        services.platform)
        services.platform->message_box(services.main_window, "Failed to initialize video surface",
                                       "Warning", mb::kOk | mb::kIconError);
    view.shown_picture = state.own_picture;
    if (services.platform && services.main_window != kNoWindow) {
        const Rect client = services.platform->client_rect(services.main_window);
        services.platform->send_message(services.main_window, msg::kSize, 0,
                                        pack_point(client.width(), client.height()));
    }
}

void recall_picture(Vp8ModuleState& state, const FrameTableEntry& entry) {
    if (!state.record) state.record = &state.saved_record;
    vp8::FrameAnalysisRecord& record = *state.record;
    // The cached pictures have the size they had when decoded.
    if (state.analysis)
        for (int n = 0; n < 3; ++n) {
            vp8::PlanarPicture& slot = state.analysis->slots[n];
            vp8::size_picture_slot(slot, entry.picture_width, entry.picture_height,
                                   entry.picture_width / 2, entry.picture_height / 2);
            *record_pictures(record, n) = slot;
        }
    vp8::PlanarPicture* const pictures[3] = {record_pictures(record, 0), record_pictures(record, 1),
                                             record_pictures(record, 2)};
    if (!state.cache.recall(entry.cache_offset, pictures))
        stop_on_working_files("Failed to read the picture cache");
    record.trace_position = entry.header_text_offset;
    record.trace_length = entry.header_text_length;
    record.mbinfo_position = entry.mbinfo_offset;
    record.coef_position = entry.coef_offset;
    record.coef_length = entry.coef_length;
    unpack_reference_numbers(record, entry.reference_numbers);
    state.frame_position = entry.frame_position;
    state.frame_size = entry.frame_size;
    state.summary.frame_type = static_cast<uint8_t>(entry.frame_flags & 1);
    state.summary.segmentation_enabled = static_cast<uint8_t>((entry.frame_flags >> 1) & 1);
    adopt_picture_size(state, entry.picture_width, entry.picture_height);
    view_state().refresh_request = kRefreshDecoded;
}

// Stops the application after a frame that ends before its size says.
void report_truncated_frame(int picture_number) {
    std::printf("Frame %d failed to read complete frame", picture_number);
    std::fflush(stdout);
    ShellServices& services = shell_services();
    if (!services.platform) return;
    services.platform->message_box(services.main_window, "Error, exit", "Warning",
                                   mb::kOk | mb::kIconError);
    if (services.main_window != kNoWindow) services.platform->destroy_window(services.main_window);
}

// Reads and decodes frames until the decoder shows a picture; null at the end
// of the file (or after a truncated frame).
const vp8::FrameAnalysisRecord* decode_next_picture(Vp8ModuleState& state, int index) {
    const vp8::FrameAnalysisRecord* picture =
        vp8::decoder_get_frame(&state.decoder, &state.output_iterator);
    while (!picture) {
        const int64_t header_position = state.stream.position();
        const IvfStatus status = state.stream.read_frame(state.frame_buffer);
        if (status == IvfStatus::kEnd || status == IvfStatus::kHeaderCut) return nullptr;
        if (status == IvfStatus::kTruncated) {
            report_truncated_frame(index + 1);
            return nullptr;
        }
        state.frame_position = header_position + static_cast<int64_t>(kIvfFrameHeaderSize);
        state.frame_size = static_cast<int>(state.frame_buffer.size());
        state.output_iterator = nullptr;
        if (vp8::decoder_decode(&state.decoder, state.frame_buffer.data(),
                                static_cast<uint32_t>(state.frame_buffer.size()), nullptr,
                                0) != vp8::kOk)
            fatal_decoder_error(state, "Failed to decode frame");
        if (analysis_files_failed(state)) {
            errno = ENOSPC;
            stop_on_working_files("Failed to write the analysis files");
        }
        picture = vp8::decoder_get_frame(&state.decoder, &state.output_iterator);
    }
    return picture;
}

void cache_picture(Vp8ModuleState& state, vp8::FrameAnalysisRecord& record, int index) {
    FrameTable* table = shell_services().frame_table.get();
    const vp8::PlanarPicture* const pictures[3] = {&record.final_picture, &record.prelf_picture,
                                                   &record.predicted_picture};
    int64_t offsets[3] = {0, 0, 0};
    if (!state.cache.store(pictures, offsets))
        stop_on_working_files("Failed to write the picture cache");
    if (!table) return;
    FrameTableEntry& entry = table->fill(static_cast<size_t>(index));
    for (int n = 0; n < 3; ++n) entry.cache_offset[n] = offsets[n];
    entry.header_text_offset = record.trace_position;
    entry.header_text_length = record.trace_length;
    entry.mbinfo_offset = record.mbinfo_position;
    entry.coef_offset = record.coef_position;
    entry.coef_length = record.coef_length;
    entry.frame_position = state.frame_position;
    entry.frame_size = state.frame_size;
    entry.reference_numbers = pack_reference_numbers(record);
    entry.frame_flags = (state.summary.frame_type & 1) | (state.summary.segmentation_enabled << 1);
    entry.picture_width = record.final_picture.width;
    entry.picture_height = record.final_picture.height;
}

// The dump file refused a write: the dump ends (its menu items back to
// "Start"), and the user is told why; what was written stays.
void end_failed_dump(const std::string& why) {
    ViewState& view = view_state();
    ::close(view.mb_info_dump_file);
    view.mb_info_dump_file = 0;
    ShellServices& services = shell_services();
    if (!services.platform) return;
    if (services.tools_menu != kNoMenu) {
        services.platform->enable_menu_item(services.tools_menu, by_position(kStartMbDumpItem),
                                            true);
        services.platform->enable_menu_item(services.tools_menu, by_position(kEndMbDumpItem),
                                            false);
    }
    services.platform->message_box(
        services.main_window,
        "Failed to write the MB info dump file (" + why + "); the dump is ended.", "Warning",
        mb::kOk | mb::kIconError);
}

// The macroblock information dump of a newly decoded picture, while one runs.
void dump_new_picture(Vp8ModuleState& state) {
    const ViewState& view = view_state();
    Platform* platform = shell_services().platform;
    if (view.mb_info_dump_file < 1) return;
    if (platform) platform->set_cursor(Cursor::kWait);
    const bool written = dump_picture(state, view.dump_type, view.mb_info_dump_file);
    if (platform) platform->set_cursor(Cursor::kArrow);
    if (!written) end_failed_dump(std::strerror(errno));
}

}  // namespace

int vp8_module_tick() {
    Vp8ModuleState& state = vp8_module_state();
    ViewState& view = view_state();
    if (!state.stream.is_open()) return 0;
    int index = view.current_frame_index;
    if (view.direction == 0) {
        if (view.current_frame_index < 2) return 0;
        index = view.current_frame_index - 2;
    }
    const FrameTable* table = shell_services().frame_table.get();
    if (table && table->valid(static_cast<size_t>(index))) {
        recall_picture(state, table->at(static_cast<size_t>(index)));
    } else {
        vp8::FrameAnalysisRecord* kept = state.record;
        const vp8::FrameAnalysisRecord* picture = decode_next_picture(state, index);
        if (picture) {
            auto& record = const_cast<vp8::FrameAnalysisRecord&>(*picture);
            state.summary = state.analysis->summary;
            const bool first = state.own_picture.width == 0;
            adopt_picture_size(state, record.final_picture.width, record.final_picture.height);
            if (first) state.saved_record = record;
            state.record = &record;
            cache_picture(state, record, index);
            append_yuv_output(state, record.final_picture);
            // The dump reads this picture's coefficients, not the last one's.
            state.coefficient_cache_flag = 0;
            dump_new_picture(state);
            view.refresh_request = kRefreshDecoded;
        } else {
            // The end of the file: the picture shown stays the last one. Frames
            // decoded on the way (not shown) overwrote the captures it points
            // at, so it comes back from the cache.
            state.record = kept;
            if (table && index > 0 && table->valid(static_cast<size_t>(index - 1)))
                recall_picture(state, table->at(static_cast<size_t>(index - 1)));
            if (view.refresh_request != kRefreshNone) vp8_module_refresh(1);
            return 0;
        }
    }
    view.current_frame_index = index + 1;
    state.coefficient_cache_flag = 0;
    vp8_module_refresh(1);
    return 0;
}

}  // namespace tavimor
