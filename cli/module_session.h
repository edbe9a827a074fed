// The analyser's VP8 module run as the window runs it, on the window system in
// memory: the main window with its menu bar, toolbar and status label, the
// video display, the four information dialogs (their tabs made by the
// module's dialog filter), the frame table, and the module stepping forward
// through the stream. What the commands read back (the dialogs' texts, the
// macroblock information dump, the display's composition surface) is what the
// window shows after the same steps and choices.
//
// The module, the view state and the shell's services are the process's own:
// one session at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cli/private_folder.h"
#include "platform/surface_view.h"
#include "shell/codec_module.h"

namespace tavimor {

class HeadlessPlatform;

class ModuleSession {
  public:
    // Opens the IVF stream in the module, its working files in a private
    // folder within a budget of cache_limit_mb megabytes (0: the default).
    // Throws InputError when the stream cannot be opened.
    explicit ModuleSession(const std::string& ivf_path, int64_t cache_limit_mb = 0);
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;
    ~ModuleSession();

    // Steps forward, as "Step Forward" does, until shown picture `picture`
    // (counting from 1, as the status label) is shown. Throws InputError when
    // the stream ends before it, or a frame cannot be read or decoded.
    void show_picture(int picture);
    // The picture shown, counting from 1; 0 before the first.
    int picture() const;
    // One step forward (direction 1) or back (0), as the window's step
    // buttons; returns the milliseconds the module took for it. At either
    // end of the stream the picture stays.
    double timed_step(int direction);
    // The bytes the session's working files hold now.
    int64_t working_files_size() const;

    // Steps to the picture before `picture`, then shows `picture` with the
    // macroblock information dump running, as "Start MB Info Dump" just
    // before the step, and returns what the dump file received. The pixel
    // dialog's tab is chosen first, as the user would (types 1 and 2 dump its
    // text). Throws InputError as show_picture does, and when the picture has
    // been shown already (only newly decoded pictures are dumped).
    std::string dump_picture(int picture, int dump_type, int pixel_tab);

    // The texts the information dialogs show now.
    std::string summary_text() const;
    std::string mb_info_text() const;
    // Chooses a tab of the MB information or the pixel dialog, as a click on it.
    void choose_mb_info_tab(int tab);
    void choose_pixel_tab(int tab);

    // Clicks macroblock (column, row) of the picture shown. Throws InputError
    // when it lies outside the picture.
    void select_macroblock(int column, int row);
    // Draws the picture shown again after choices made in the view state, as
    // the window's view commands do.
    void redraw();

    // Loads the original the pictures are compared with, as "Open Original
    // YUV Ref File" does. Throws InputError with the window's message when
    // it cannot be used.
    void load_reference(const std::string& path);

    // The display's composition surface: the picture area as the window
    // shows it, at the picture's (macroblock-aligned) size.
    SurfaceView composition() const;

    HeadlessPlatform& platform() { return *platform_; }

  private:
    void set_up(const std::string& ivf_path, int64_t cache_limit_mb);
    // Closes the module and leaves the view state and the shell's services
    // as they were before the session.
    void shut_down() noexcept;
    // Runs a module operation as the window would, turning what the module
    // reports (message boxes, its line on standard output, a fatal stop)
    // into an InputError.
    template <typename Operation>
    void run(const char* doing, Operation operation);
    void step_forward();
    // Steps forward until picture `target` is shown; a stream that ends
    // first is reported as having no picture `asked`.
    void step_to(int target, int asked);

    PrivateFolder folder_;
    std::unique_ptr<HeadlessPlatform> platform_;
    CodecModule* module_ = nullptr;
    WindowHandle mb_info_ = kNoWindow;
    WindowHandle pixel_info_ = kNoWindow;
    WindowHandle summary_ = kNoWindow;
    bool runtime_folder_named_ = false;
};

}  // namespace tavimor
