// The application shell's own record: the window system, the display, the
// current codec module, and the windows, dialogs and small state of the main
// window. One per run of the application, made zeroed at start-up; the window
// and dialog procedures reach it through their closures.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/geometry.h"
#include "platform/handles.h"
#include "shell/codec_module.h"

namespace tavimor {

class Platform;
struct VideoDisplay;

// What the file-type step decided for a chosen file.
struct FileTypeResult {
    bool go_on = false;     // false: cancelled, or the file could not be turned into a stream
    std::string path;       // the stream the module opens
    bool reported = false;  // it failed and has said why: nothing more to say
};

// The file-type step of the open flow: the chosen path in, the stream to open
// out. The stream kind and codec code it finds go to the view state.
using FileTypeStep = FileTypeResult (*)(struct Shell& shell, const std::string& chosen_path);

struct Shell {
    explicit Shell(Platform& window_system) : platform(window_system) {}

    Platform& platform;
    VideoDisplay* display = nullptr;
    CodecModule* module = nullptr;  // the current module; never null after start-up

    WindowHandle window = kNoWindow;
    MenuHandle menu_bar = kNoMenu;
    WindowHandle toolbar = kNoWindow;
    WindowHandle tab_bar = kNoWindow;
    WindowHandle status_label = kNoWindow;
    WindowHandle tip = kNoWindow;

    // The modeless tool dialogs, made once and hidden.
    WindowHandle mb_search = kNoWindow;
    WindowHandle picture_analyzer = kNoWindow;
    WindowHandle display_control = kNoWindow;
    WindowHandle container_structure = kNoWindow;
    WindowHandle stream_graph = kNoWindow;

    // The picture analyser's luma histogram: 256 bins scaled so that the
    // fullest reads 128.
    std::array<int32_t, 256> histogram{};

    // The tip window: tracking once it was first shown, and the last point.
    bool tip_tracking = false;
    Point tip_point{-1, -1};

    // The frame index recorded with the last macroblock search result (a
    // module with a search records it; -1: none).
    int search_frame_index = -1;

    // A file the shell keeps open for a module's tool (closed by Close).
    std::FILE* auxiliary_file = nullptr;

    // The step that turns a chosen file into a stream to open.
    FileTypeStep file_type_step = nullptr;

    // The settings file (recent files, the start-up notice's choice).
    std::string settings_path;
};

}  // namespace tavimor
