// What the shell lends the current codec module besides the view state: the
// window system, the main window and its toolbar, "Tools" menu and status
// label, the video display, the frame table, the information and tool
// dialogs, the shell's own services (dialog placement, the tip window, the
// histogram feed, the text-view procedure) and the process exit used for
// fatal errors. One record for the process; the shell fills it at start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/geometry.h"
#include "platform/handles.h"
#include "shell/frame_table.h"
#include "shell/planar_picture.h"
#include "shell/working_folder.h"

namespace tavimor {

class Platform;
struct VideoDisplay;

// The four information dialogs; kNoWindow while they do not exist.
struct InformationDialogs {
    WindowHandle header = kNoWindow;      // "HDRINFODLG"
    WindowHandle mb_info = kNoWindow;     // "MBINFODLG"
    WindowHandle pixel_info = kNoWindow;  // "PIXELINFODLG"
    WindowHandle summary = kNoWindow;     // "SUMMARYDLG"
};

struct ShellServices {
    Platform* platform = nullptr;
    WindowHandle main_window = kNoWindow;
    WindowHandle toolbar = kNoWindow;
    WindowHandle status_label = kNoWindow;
    MenuHandle tools_menu = kNoMenu;
    VideoDisplay* display = nullptr;
    InformationDialogs information;
    WindowHandle mb_search_dialog = kNoWindow;
    WindowHandle picture_analyzer_dialog = kNoWindow;
    WindowHandle stream_graph_dialog = kNoWindow;
    // Allocated by the after-open layout, freed by Close.
    std::unique_ptr<FrameTable> frame_table;
    // The folder of the shell's own working files (extraction outputs,
    // structure texts), made when first needed; removed with the services.
    std::unique_ptr<WorkingFolder> working_folder;
    // The budget of the module's working files in megabytes (0: the default).
    int64_t cache_limit_mb = 0;
    // Ends the process after a fatal error; tests may catch it instead.
    void (*exit_process)(int status) = nullptr;

    // Places a dialog at the centre of the main window's client area.
    std::function<void(WindowHandle dialog)> centre_dialog;
    // Shows the tip text near a client point of the main window; hide_tip
    // deactivates it.
    std::function<void(std::string_view text, Point client)> show_tip;
    std::function<void()> hide_tip;
    // Gives the picture analyser the picture shown (only while it is visible).
    std::function<void(const PlanarPicture& picture)> feed_histogram;
    // Puts the shell's text-view procedure in front of a text control.
    std::function<void(WindowHandle control)> install_text_view;
};

ShellServices& shell_services();

// Ends the process with the status through the services' exit routine.
[[noreturn]] void exit_process(int status);

}  // namespace tavimor
