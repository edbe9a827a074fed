// Opening and closing a stream: the IVF file, the decoder, the analysis and
// picture cache files, and the toolbar and menu states that go with them.
#include <initializer_list>
#include <string>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/resource_types.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "shell/working_folder.h"
#include "vp8dec/error_codes.h"
#include "vp8module/fatal_error.h"
#include "vp8module/original_views.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"
#include "vp8module/yuv_output.h"

namespace tavimor {

namespace {

constexpr const char* kAnalysisNames[4] = {"framehdr.txt", "mbinfo.bin", "mbdiff.bin",
                                           "mbcoef.bin"};

void set_stream_controls() {
    ShellServices& services = shell_services();
    Platform* platform = services.platform;
    if (!platform) return;
    if (services.toolbar != kNoWindow) {
        for (int command : {cmd::kStop,           cmd::kPlay,         cmd::kPause,
                            cmd::kStepForward,    cmd::kStepBackward, cmd::kFastForward,
                            cmd::kFastRewind,     cmd::kMbRect,       cmd::kMbBlocks,
                            cmd::kMbMvs,          cmd::kFpsSettings,  cmd::kPictureAnalyzer,
                            cmd::kStartYuvOutput, cmd::kGotoMb,       cmd::kPixelInfo,
                            cmd::kMbInfo,         cmd::kHeaderInfo,   cmd::kSummaryInfo,
                            cmd::kHistogram,      cmd::kMbPopup,      cmd::kOpenReferenceYuv})
            platform->set_button_state(services.toolbar, command, kButtonEnabled);
        for (int command :
             {cmd::kFrameView, cmd::kTopFieldView, cmd::kBottomFieldView, cmd::kVerticalZoom,
              cmd::kSliceBoundary, cmd::kMbType, cmd::kMbSearch, cmd::kDecOrderPlayback})
            platform->set_button_state(services.toolbar, command, kButtonIndeterminate);
    }
    if (services.tools_menu != kNoMenu) {
        platform->enable_menu_item(services.tools_menu, by_position(8), false);
        platform->enable_menu_item(services.tools_menu, by_position(7), false);
    }
}

// What was read or built for the pictures of the stream before.
void forget_picture_views(Vp8ModuleState& state) {
    state.records.clear();
    state.records_position = -1;
    state.header_tree_position = -1;
    state.summary_text.clear();
    state.tip_column = state.tip_row = -1;
    state.survey.reset();
}

bool open_working_files(Vp8ModuleState& state) {
    const std::string temp_directory(path_of(view_state().temp_directory));
    state.working_folder = WorkingFolder::create(temp_directory);
    if (!state.working_folder) {
        state.folder = temp_directory;
        return false;
    }
    state.folder = state.working_folder->path();
    state.space.reset(working_files_budget(state.folder.c_str(), shell_services().cache_limit_mb));
    state.key_frames.clear();
    state.next_picture = 0;
    state.pictures_reached = 0;
    for (int i = 0; i < 4; ++i)
        state.analysis_paths[i] = state.folder + "mbist_" + kAnalysisNames[i];
    state.analysis = &vp8::analysis_context();
    if (!vp8::open_analysis_files(*state.analysis, state.analysis_paths[0].c_str(),
                                  state.analysis_paths[1].c_str(), state.analysis_paths[3].c_str()))
        return false;
    vp8::decoder_set_analysis(&state.decoder, state.analysis);
    state.header_text_reader = std::fopen(state.analysis_paths[0].c_str(), "r");
    state.mbinfo_reader = std::fopen(state.analysis_paths[1].c_str(), "rb");
    return state.header_text_reader && state.mbinfo_reader && state.cache.open(state.folder);
}

void close_file(std::FILE*& file) {
    if (file) std::fclose(file);
    file = nullptr;
}

}  // namespace

Vp8ModuleState& vp8_module_state() {
    static Vp8ModuleState state;
    return state;
}

void vp8_module_open(const char* path) {
    if (!path) return;
    Vp8ModuleState& state = vp8_module_state();
    vp8::release_planar_picture(state.own_picture);
    ViewState& view = view_state();
    view.selected_x = view.selected_y = 0;
    forget_picture_views(state);
    if (!state.stream.open(path)) return;
    state.stream_path = path;
    if (vp8::decoder_init(&state.decoder, vp8::vp8_decoder_interface(), nullptr, 0,
                          vp8::kDecoderAbiVersion) != vp8::kOk)
        fatal_decoder_error(state, "Failed to initialize decoder");
    state.output_iterator = nullptr;
    if (!open_working_files(state)) {
        // Without its working files the module cannot show anything.
        const std::string text = "Failed to create the working files in " + state.folder;
        vp8_module_close();
        if (Platform* platform = shell_services().platform)
            platform->message_box(shell_services().main_window, text, "Warning",
                                  mb::kOk | mb::kIconError);
        return;
    }
    set_stream_controls();
    view.current_frame_index = 0;
}

void vp8_module_close() {
    Vp8ModuleState& state = vp8_module_state();
    if (state.stream.is_open() && state.decoder.iface &&
        vp8::decoder_destroy(&state.decoder) != vp8::kOk)
        fatal_decoder_error(state, "Failed to destroy codec");
    state.decoder = vp8::CodecContext{};
    if (state.analysis) vp8::close_analysis_context(*state.analysis);
    state.analysis = nullptr;
    close_file(state.header_text_reader);
    close_file(state.mbinfo_reader);
    state.stream.close();
    state.cache.close();
    // The working files go with their folder.
    state.working_folder.reset();
    state.space.reset(0);
    state.key_frames.clear();
    close_file(state.yuv_output);
    state.frame_buffer = {};
    state.coefficient_cache = {};
    state.coefficient_cache_mbs = 0;
    state.coefficient_cache_flag = 0;
    vp8::release_planar_picture(state.own_picture);
    state.record = nullptr;
    forget_picture_views(state);
    unload_original(state);
    if (state.yuv_output_running) end_yuv_output(state);
}

int vp8_module_is_open(int) {
    return vp8_module_state().stream.is_open() ? 1 : 0;
}

}  // namespace tavimor
