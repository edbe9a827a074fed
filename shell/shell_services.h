// What the shell lends the current codec module besides the view state: the
// window system, the main window and its toolbar, "Tools" menu and status
// label, the video display, the frame table, and the process exit used for
// fatal errors. One record for the process; the shell fills it at start-up.
#pragma once

#include <memory>

#include "platform/handles.h"
#include "shell/frame_table.h"

namespace tavimor {

class Platform;
struct VideoDisplay;

struct ShellServices {
    Platform* platform = nullptr;
    WindowHandle main_window = kNoWindow;
    WindowHandle toolbar = kNoWindow;
    WindowHandle status_label = kNoWindow;
    MenuHandle tools_menu = kNoMenu;
    VideoDisplay* display = nullptr;
    // Allocated by the after-open layout, freed by Close.
    std::unique_ptr<FrameTable> frame_table;
    // Ends the process after a fatal error; tests may catch it instead.
    void (*exit_process)(int status) = nullptr;
};

ShellServices& shell_services();

// Ends the process with the status through the services' exit routine.
[[noreturn]] void exit_process(int status);

}  // namespace tavimor
