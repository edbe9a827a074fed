// One step of the VP8 module: recall a cached picture or decode the next
// frames of the file until one is shown.
#include <unistd.h>

#include <cerrno>
#include <chrono>
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
#include "vp8module/picture_store.h"
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

void unpack_reference_numbers(vp8::FrameAnalysisRecord& record, uint32_t packed) {
    record.unused = static_cast<uint8_t>(packed);
    record.last_frame_number = static_cast<uint8_t>(packed >> 8);
    record.golden_frame_number = static_cast<uint8_t>(packed >> 16);
    record.altref_frame_number = static_cast<uint8_t>(packed >> 24);
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
    state.summary.filter_level = entry.filter_level;
    state.summary.filter_type = entry.filter_type;
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
        // A key frame: pictures from here on can be decoded again from it.
        if (!state.frame_buffer.empty() && (state.frame_buffer[0] & 1) == 0)
            state.key_frames.note(state.next_picture, header_position);
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

// Makes the decoder's next picture one on the way to picture `index`: it goes
// on from where it is when that lies between the nearest key frame before the
// picture and the picture, and starts again at that key frame otherwise.
void position_decoder(Vp8ModuleState& state, int index) {
    const KeyFrame* key = state.key_frames.at_or_before(index);
    if (!key || (key->picture <= state.next_picture && state.next_picture <= index)) return;
    if (!state.stream.seek(key->position)) stop_on_working_files("Failed to read the stream again");
    vp8::decoder_set_shown_count(&state.decoder, key->picture);
    state.next_picture = key->picture;
}

// A decoded picture becomes the one the views show and goes into the working
// files; the first time it is decoded, into the YUV output and the dump too.
void keep_picture(Vp8ModuleState& state, vp8::FrameAnalysisRecord& record, int index) {
    state.summary = state.analysis->summary;
    const bool first = state.own_picture.width == 0;
    adopt_picture_size(state, record.final_picture.width, record.final_picture.height);
    if (first) state.saved_record = record;
    state.record = &record;
    store_picture(state, record, index);
    // The views and the dump read this picture's coefficients, not the last one's.
    state.coefficient_cache_flag = 0;
    if (index < state.pictures_reached) return;
    state.pictures_reached = index + 1;
    append_yuv_output(state, record.final_picture);
    dump_new_picture(state);
}

// Tells in the status label how far a long jump has come.
class JumpProgress {
  public:
    explicit JumpProgress(int target) : target_(target), start_(Clock::now()), shown_(start_) {}

    void update(int done) {
        const Clock::time_point now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - shown_ < std::chrono::milliseconds(200))
            return;
        shown_ = now;
        ShellServices& services = shell_services();
        if (!services.platform || services.status_label == kNoWindow) return;
        services.platform->set_window_text(
            services.status_label, "Going to Frame " + std::to_string(target_ + 1) + ": Frame " +
                                       std::to_string(done + 1));
        services.platform->update_window(services.status_label);
    }

  private:
    using Clock = std::chrono::steady_clock;
    int target_;
    Clock::time_point start_;
    Clock::time_point shown_;
};

// Decodes up to picture `index`, keeping every picture decoded on the way;
// null when the stream ends before it.
const vp8::FrameAnalysisRecord* decode_up_to(Vp8ModuleState& state, int index) {
    position_decoder(state, index);
    JumpProgress progress(index);
    for (;;) {
        const int number = state.next_picture;
        const vp8::FrameAnalysisRecord* picture = decode_next_picture(state, number);
        if (!picture) return nullptr;
        ++state.next_picture;
        keep_picture(state, const_cast<vp8::FrameAnalysisRecord&>(*picture), number);
        if (number >= index) return picture;
        progress.update(number);
    }
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
        if (!decode_up_to(state, index)) {
            // The end of the file: the picture shown becomes the last one (a
            // Goto may have asked for one past it). Frames decoded on the way
            // (not shown) overwrote the captures it points at, so it comes
            // back from the cache, or is decoded again.
            state.record = kept;
            const int last = state.pictures_reached - 1;
            if (last >= 0 && index > last) {
                if (table && table->valid(static_cast<size_t>(last)))
                    recall_picture(state, table->at(static_cast<size_t>(last)));
                else if (!decode_up_to(state, last))
                    return 0;
                view.current_frame_index = last + 1;
            }
            if (view.refresh_request != kRefreshNone) vp8_module_refresh(1);
            return 0;
        }
        view.refresh_request = kRefreshDecoded;
    }
    view.current_frame_index = index + 1;
    state.coefficient_cache_flag = 0;
    vp8_module_refresh(1);
    return 0;
}

}  // namespace tavimor
