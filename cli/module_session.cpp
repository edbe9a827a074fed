#include "cli/module_session.h"

#include "resources/command_ids.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_error.h"
#include "display/video_display.h"
#include "platform/headless/headless_platform.h"
#include "platform/messages.h"
#include "resources/control_ids.h"
#include "resources/menu_templates.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/vp8_module.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;

// Thrown by the exit routine the module calls after a fatal error.
struct ModuleStopped {
    int status;
};

std::string read_whole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of a text joined into one line of a message.
std::string one_line(const std::string& text) {
    std::string line, part;
    std::istringstream lines(text);
    while (std::getline(lines, part)) {
        while (!part.empty() && (part.back() == '\r' || part.back() == ' ')) part.pop_back();
        if (part.empty()) continue;
        if (!line.empty()) line += ": ";
        line += part;
    }
    return line;
}

// While it lives, what is written to standard output goes to a file instead:
// the module prints a line of its own when a frame is cut short, and the
// command's output must stay what the command prints.
class StandardOutputToFile {
  public:
    explicit StandardOutputToFile(const std::string& path) : path_(path) {
        std::fflush(stdout);
        if (::fcntl(STDOUT_FILENO, F_GETFD) < 0) return;  // closed: nothing to set aside
        const int file = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
        saved_ = file < 0 ? -1 : ::dup(STDOUT_FILENO);
        if (saved_ < 0 || ::dup2(file, STDOUT_FILENO) < 0) {
            if (file >= 0) ::close(file);
            if (saved_ >= 0) ::close(saved_);
            throw InputError("standard output could not be set aside");
        }
        ::close(file);
    }
    ~StandardOutputToFile() {
        if (saved_ < 0) return;
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
    }
    StandardOutputToFile(const StandardOutputToFile&) = delete;
    StandardOutputToFile& operator=(const StandardOutputToFile&) = delete;

    std::string text() const {
        if (saved_ < 0) return "";
        std::fflush(stdout);
        return read_whole(path_);
    }

  private:
    std::string path_;
    int saved_ = -1;
};

// The dump file "Start MB Info Dump" opens, as the view state's descriptor
// while it lives.
class DumpFile {
  public:
    DumpFile(const std::string& path, int type) {
        ViewState& view = view_state();
        view.mb_info_dump_file =
            ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
        if (view.mb_info_dump_file <= 0) {
            view.mb_info_dump_file = 0;
            throw InputError("the dump file could not be created");
        }
        view.dump_type = type;
    }
    ~DumpFile() {
        ViewState& view = view_state();
        if (view.mb_info_dump_file > 0) ::close(view.mb_info_dump_file);
        view.mb_info_dump_file = 0;
    }
    DumpFile(const DumpFile&) = delete;
    DumpFile& operator=(const DumpFile&) = delete;
};

// The window system's text rendering wants a folder for its runtime files;
// without one named it would make one of its own under the temporary
// directory and say so on standard error. Returns whether it named one.
bool keep_runtime_files_in(const std::string& path) {
    if (std::getenv("XDG_RUNTIME_DIR")) return false;
    return ::mkdir(path.c_str(), 0700) == 0 && ::setenv("XDG_RUNTIME_DIR", path.c_str(), 1) == 0;
}

}  // namespace

ModuleSession::ModuleSession(const std::string& ivf_path, int64_t cache_limit_mb)
    : platform_(std::make_unique<HeadlessPlatform>()) {
    try {
        set_up(ivf_path, cache_limit_mb);
    } catch (...) {
        shut_down();
        throw;
    }
}

void ModuleSession::set_up(const std::string& ivf_path, int64_t cache_limit_mb) {
    const std::string temp = folder_.path("");
    if (temp.size() >= kPathCapacity)
        throw InputError("the temporary folder's path is too long for the analyser: " + temp);
    platform_->set_temp_directory(temp);
    runtime_folder_named_ = keep_runtime_files_in(folder_.path("runtime"));
    ViewState& view = view_state();
    view = ViewState{};
    reset_view_state(view);
    set_path(view.temp_directory, temp);
    set_path(view.current_stream_path, ivf_path);

    ShellServices& services = shell_services();
    services = ShellServices{};
    services.platform = platform_.get();
    services.cache_limit_mb = cache_limit_mb;
    services.exit_process = [](int status) { throw ModuleStopped{status}; };
    services.main_window = platform_->create_main_window(
        "tavimor-cli", [this](WindowHandle w, unsigned m, uintptr_t f, intptr_t s) {
            return platform_->default_window_proc(w, m, f, s);
        });
    const MenuHandle menu_bar = platform_->load_menu(kMenuBarName);
    platform_->set_menu(services.main_window, menu_bar);
    services.tools_menu = platform_->submenu(menu_bar, kToolsMenuPosition);
    services.toolbar = platform_->create_toolbar(services.main_window, ctl::kToolbar);
    services.status_label =
        platform_->create_control(services.main_window, ControlKind::kCentredLabel,
                                  ctl::kStatusLabel, "", rect_at(0, 0, 10, 10));
    services.display = display_create();
    display_bind(services.display, platform_.get(), services.main_window);

    module_ = create_vp8_module();
    run("opening the stream", [&] { module_->open(ivf_path.c_str()); });
    if (!module_->is_open(0)) throw InputError("not a readable IVF stream");

    // The after-open layout: the information dialogs, made through the
    // module's dialog filter, then the module's part and the frame table.
    const auto dialog = [&](const char* name) {
        const WindowHandle made = platform_->create_dialog(
            name, services.main_window,
            [this](WindowHandle d, unsigned m, uintptr_t f, intptr_t s) {
                return module_->dialog_filter(d, m, f, s) == 0 ? intptr_t{0} : intptr_t{1};
            });
        platform_->show_window(made, ShowCommand::kShow);
        return made;
    };
    services.information.header = dialog("HDRINFODLG");
    services.information.mb_info = mb_info_ = dialog("MBINFODLG");
    services.information.pixel_info = pixel_info_ = dialog("PIXELINFODLG");
    services.information.summary = summary_ = dialog("SUMMARYDLG");
    if (module_->after_open_layout) module_->after_open_layout();
    services.frame_table = std::make_unique<FrameTable>();
}

ModuleSession::~ModuleSession() {
    shut_down();
}

void ModuleSession::shut_down() noexcept {
    ShellServices& services = shell_services();
    if (services.platform != platform_.get()) return;  // nothing was set up
    try {
        if (module_) module_->close();
    } catch (const ModuleStopped&) {
        // The decoder could not be destroyed: the process ends soon anyway.
    }
    display_destroy(services.display);
    services = ShellServices{};
    ViewState& view = view_state();
    view = ViewState{};
    reset_view_state(view);
    // The folder goes with the session.
    if (runtime_folder_named_) ::unsetenv("XDG_RUNTIME_DIR");
}

template <typename Operation>
void ModuleSession::run(const char* doing, Operation operation) {
    const size_t reported = platform_->message_boxes().size();
    StandardOutputToFile output(folder_.path("module-output.txt"));
    bool stopped = false;
    try {
        operation();
    } catch (const ModuleStopped&) {
        stopped = true;
    }
    const auto& boxes = platform_->message_boxes();
    if (!stopped && boxes.size() == reported) return;
    // The module's own line says most; else its first message.
    std::string message = one_line(output.text());
    if (message.empty() && boxes.size() > reported) message = one_line(boxes[reported].text);
    if (message.empty()) message = "the analyser stopped";
    throw InputError(std::string(doing) + ": " + message);
}

void ModuleSession::step_forward() {
    const std::string doing = "picture " + std::to_string(picture() + 1);
    run(doing.c_str(), [&] {
        view_state().direction = 1;
        module_->tick();
    });
}

double ModuleSession::timed_step(int direction) {
    double milliseconds = 0;
    run(direction ? "stepping forward" : "stepping back", [&] {
        view_state().direction = direction;
        const auto start = std::chrono::steady_clock::now();
        module_->tick();
        milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    });
    return milliseconds;
}

int64_t ModuleSession::working_files_size() const {
    int64_t bytes = 0;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder_.path(""), error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        if (it->is_regular_file(error)) bytes += static_cast<int64_t>(it->file_size(error));
    return bytes;
}

int ModuleSession::picture() const {
    return std::max(view_state().current_frame_index, 0);
}

void ModuleSession::show_picture(int wanted) {
    step_to(wanted, wanted);
}

void ModuleSession::step_to(int target, int asked) {
    while (picture() < target) {
        const int before = picture();
        step_forward();
        if (picture() == before)
            throw InputError("there is no picture " + std::to_string(asked) + ": the stream has " +
                             std::to_string(before) + (before == 1 ? " picture" : " pictures"));
    }
}

std::string ModuleSession::dump_picture(int wanted, int dump_type, int pixel_tab) {
    if (wanted <= picture())
        throw InputError("picture " + std::to_string(wanted) + " has been shown already");
    step_to(wanted - 1, wanted);
    choose_pixel_tab(pixel_tab);
    const std::string path = folder_.path("mbinfo-dump.txt");
    {
        DumpFile dump(path, dump_type);
        run("starting the dump", [&] { module_->refresh(1); });
        step_to(wanted, wanted);
    }
    return read_whole(path);
}

std::string ModuleSession::summary_text() const {
    return platform_->window_text(platform_->dialog_item(summary_, ctl::kSummaryText));
}

std::string ModuleSession::mb_info_text() const {
    return platform_->window_text(platform_->dialog_item(mb_info_, ctl::kMbInfoText));
}

void ModuleSession::choose_mb_info_tab(int tab) {
    run("choosing a tab",
        [&] { platform_->choose_tab(platform_->dialog_item(mb_info_, ctl::kMbInfoTabs), tab); });
}

void ModuleSession::choose_pixel_tab(int tab) {
    run("choosing a tab", [&] {
        platform_->choose_tab(platform_->dialog_item(pixel_info_, ctl::kPixelInfoTabs), tab);
    });
}

void ModuleSession::select_macroblock(int column, int row) {
    const ViewState& view = view_state();
    const int columns = view.picture_width / kMbSize, rows = view.picture_height / kMbSize;
    if (column < 0 || row < 0 || column >= columns || row >= rows)
        throw InputError("macroblock " + std::to_string(column) + "," + std::to_string(row) +
                         " lies outside the picture of " + std::to_string(columns) + "x" +
                         std::to_string(rows) + " macroblocks");
    // The client point of the macroblock's top-left corner, as a click lands.
    const int x = view.origin_x - view.scroll_x + kMbSize * column;
    const int y = view.origin_y - view.scroll_y + kMbSize * row;
    run("selecting a macroblock",
        [&] { module_->left_click(key::kLeftButtonState, pack_point(x, y)); });
}

void ModuleSession::redraw() {
    run("drawing the picture", [&] {
        view_state().refresh_request = kRefreshRedraw;
        module_->refresh(1);
    });
}

void ModuleSession::load_reference(const std::string& path) {
    platform_->answer_next_file_dialog(path);
    run("loading the original", [&] {
        module_->command(shell_services().main_window, msg::kCommand, cmd::kOpenReferenceYuv, 0);
    });
    if (!view_state().reference_loaded) throw InputError("the original was not loaded");
}

SurfaceView ModuleSession::composition() const {
    const VideoDisplay* display = shell_services().display;
    if (!display || !display->composition) return {};
    return view_of(*display->composition);
}

}  // namespace tavimor
