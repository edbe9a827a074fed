#include "shell/open_flow.h"

#include <memory>
#include <optional>

#include "containers/file_kind.h"
#include "display/video_display.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/toolbar_template.h"
#include "shell/application_title.h"
#include "shell/command_handlers.h"
#include "shell/container_extraction.h"
#include "shell/file_type_step.h"
#include "shell/information_dialogs.h"
#include "shell/module_registry.h"
#include "shell/playback.h"
#include "shell/recent_files.h"
#include "shell/shell.h"
#include "shell/shell_services.h"
#include "shell/view_commands.h"
#include "shell/view_state.h"
#include "shell/window_layout.h"

namespace tavimor {

namespace {

// Asks whether to close the open stream; true when nothing is open or the
// user agreed and it was closed.
bool close_first(Shell& shell) {
    if (!shell.module->is_open(0)) return true;
    const std::string question =
        std::string(path_of(view_state().chosen_file_path)) + " is opened, close it?";
    if (shell.platform.message_box(shell.window, question, "Close file?",
                                   mb::kYesNo | mb::kIconQuestion) != mb::kAnswerYes)
        return false;
    close_stream(shell);
    return true;
}

std::optional<std::string> choose_file(Shell& shell) {
    FileDialogRequest request;
    request.filters = {{"All", "*.*"}, {"mkv", "*.mkv"}, {"webm", "*.webm"}, {"vp8", "*.vp8"}};
    request.path_must_exist = true;
    request.file_must_exist = true;
    return shell.platform.open_file_dialog(shell.window, request);
}

// Paths are kept in fields of a fixed size; one that does not fit would name
// another file.
bool fits(Shell& shell, const std::string& path) {
    if (path.size() < kPathCapacity) return true;
    shell.platform.message_box(shell.window, "The path is too long to be opened: " + path,
                               "Warning", mb::kOk | mb::kIconError);
    return false;
}

// Makes the module for the stream kind current; false (and the module before
// stays current) when there is none for it.
bool choose_module(Shell& shell) {
    const ViewState& view = view_state();
    CodecModule* module = selectModule(view.stream_kind, view.codec_code);
    if (!module) {
        shell.platform.message_box(shell.window, "This file is not supported!", "Warning",
                                   mb::kOk | mb::kIconError);
        return false;
    }
    shell.module = module;
    return true;
}

// The dialogs, the window and the frame table made to fit a newly opened stream.
void lay_out_after_open(Shell& shell) {
    create_information_dialogs(shell);
    show_information_dialogs(shell);
    if (shell.module->after_open_layout) shell.module->after_open_layout();
    show_overlay_buttons(shell);
    lay_out_main_window(shell);
    ShellServices& services = shell_services();
    if (!services.frame_table) services.frame_table = std::make_unique<FrameTable>();
}

// Shows the first picture of the stream just opened.
void show_first_picture(Shell& shell) {
    ViewState& view = view_state();
    view.direction = 1;
    shell.platform.send_message(shell.window, msg::kTick, 0, 0);
}

// The module opens the stream at the current stream path; false (with a
// message) when it could not.
bool open_in_module(Shell& shell) {
    const std::string path(path_of(view_state().current_stream_path));
    shell.module->open(path.c_str());
    if (shell.module->is_open(0)) return true;
    shell.platform.message_box(shell.window, path + " cannot be opened as a stream.", "Warning",
                               mb::kOk | mb::kIconError);
    return false;
}

// The module opens the stream at the path; the window is laid out for it, the
// history remembers it and its first picture is shown.
void open_stream(Shell& shell, const std::string& path) {
    if (!fits(shell, path)) return;
    set_path(view_state().current_stream_path, path);
    if (!open_in_module(shell)) return;
    lay_out_after_open(shell);
    add_to_history(shell, path);
    show_first_picture(shell);
}

// The chosen file (nothing: the user cancelled the choice) through the
// file-type step, then the module for the kind; the module is chosen even
// when the choice or the step was cancelled, by the kind known then.
void open_chosen_file(Shell& shell, const std::optional<std::string>& chosen, FileTypeStep step) {
    FileTypeResult type;
    if (chosen) {
        if (!fits(shell, *chosen)) return;
        set_path(view_state().chosen_file_path, *chosen);
        type = step(shell, *chosen);
        if (type.reported) return;
    }
    if (!choose_module(shell) || !type.go_on) return;
    open_stream(shell, type.path);
}

// The toolbar as it is without a stream: only its always-enabled buttons act.
void reset_toolbar(Shell& shell) {
    for (const ToolbarButtonTemplate& button : toolbar_template())
        if (button.command != 0)
            shell.platform.set_button_state(shell.toolbar, button.command, button.state);
}

}  // namespace

FileTypeResult detect_file_type(Shell& shell, const std::string& chosen_path) {
    ViewState& view = view_state();
    view.stream_kind = detect_stream_kind(chosen_path);
    view.structure_kind = 0;
    if (container_kind_of(view.stream_kind) < 0) return {true, chosen_path};
    return extract_container(shell, chosen_path);
}

void open_from_command_line(Shell& shell, const std::string& path) {
    open_chosen_file(shell, path, detect_file_type);
}

void command_open(Shell& shell, int command, intptr_t extra) {
    if (!close_first(shell)) return;
    const std::optional<std::string> chosen = command == cmd::kDroppedFile
                                                  ? std::optional<std::string>(command_path(extra))
                                                  : choose_file(shell);
    open_chosen_file(shell, chosen, shell.file_type_step ? shell.file_type_step : ask_file_type);
}

void command_open_recent(Shell& shell, int command, intptr_t) {
    if (!close_first(shell)) return;
    const std::optional<HistoryChoice> choice = choose_from_history(shell, command);
    if (!choice) return;
    view_state().stream_kind = choice->stream_kind;
    if (!choose_module(shell)) return;
    open_stream(shell, choice->path);
}

void command_close(Shell& shell, int, intptr_t) {
    close_stream(shell);
}

void command_quit(Shell& shell, int, intptr_t) {
    shell.platform.destroy_window(shell.window);
}

void close_stream(Shell& shell) {
    Platform& platform = shell.platform;
    stop_timer(shell);
    display_clear(shell.display);
    shell.module->close();
    display_release_surfaces(shell.display);
    platform.set_window_text(shell.status_label, "");
    clear_information_dialogs(shell);
    platform.set_window_text(shell.window, kApplicationTitle);
    if (shell.auxiliary_file) std::fclose(shell.auxiliary_file);
    shell.auxiliary_file = nullptr;
    shell_services().frame_table.reset();
    for (WindowHandle dialog : {shell.mb_search, shell.container_structure, shell.picture_analyzer,
                                shell.display_control, shell.stream_graph})
        platform.show_window(dialog, ShowCommand::kHide);
    platform.tree_clear(platform.dialog_item(shell.container_structure, ctl::kStructureTree));
    ViewState& view = view_state();
    reset_view_state(view);
    view.picture_width = view.picture_height = 0;
    platform.tab_select(shell.tab_bar, 0);
    reset_toolbar(shell);
    destroy_information_dialogs(shell);
    lay_out_main_window(shell);
}

void reopen_stream(Shell& shell) {
    // Close forgets the stream's path with the rest of the view state.
    const std::string path(path_of(view_state().current_stream_path));
    const std::string chosen(path_of(view_state().chosen_file_path));
    close_stream(shell);
    ViewState& view = view_state();
    set_path(view.current_stream_path, path);
    set_path(view.chosen_file_path, chosen);
    if (!open_in_module(shell)) return;
    lay_out_after_open(shell);
    shell.platform.set_window_text(shell.window, path);
    show_first_picture(shell);
}

}  // namespace tavimor
