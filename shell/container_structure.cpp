#include "shell/container_structure.h"

#include <cstdio>
#include <memory>

#include "containers/file_kind.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/application_title.h"
#include "shell/command_handlers.h"
#include "shell/container_extraction.h"
#include "shell/dialog_placement.h"
#include "shell/indented_tree.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

// The list's entries by structure kind (1 TS, 2 MP4, 3 FLV, 4 MKV).
struct StructureTypes {
    const char* first;
    const char* second;  // null: none
};
constexpr StructureTypes kTypes[] = {{"transport packet", "PES packet"},
                                     {"MP4 Box", nullptr},
                                     {"FLV Tag", nullptr},
                                     {"MKV Element", nullptr}};

// The text file of the list's entry: 0 the structure text, 1 the PES text.
std::string text_of_entry(int entry) {
    return working_file(entry == 1 ? kPesTextName : kStructureTextName);
}

void load_tree(Shell& shell, WindowHandle dialog, int entry) {
    Platform& platform = shell.platform;
    const std::string path = text_of_entry(entry);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"),
                                                         std::fclose);
    if (!file) {
        platform.message_box(shell.window, "Failed to open syntax file", "Warning",
                             mb::kOk | mb::kIconError);
        return;
    }
    platform.set_cursor(Cursor::kWait);
    const TreeFill fill =
        fill_indented_tree(platform, platform.dialog_item(dialog, ctl::kStructureTree), file.get(),
                           -1, kStructureTreeLines);
    platform.set_cursor(Cursor::kArrow);
    file.reset();
    if (!fill.complete &&
        platform.message_box(shell.window, "Stream is too long. Do you want to open it in a file?",
                             kApplicationTitle,
                             mb::kYesNo | mb::kIconInformation) == mb::kAnswerYes)
        platform.open_document(path);
}

void on_command(Shell& shell, WindowHandle dialog, int id, int notification) {
    Platform& platform = shell.platform;
    const int entry =
        platform.list_selection(platform.dialog_item(dialog, ctl::kStructureTypeList));
    if (id == ctl::kStructureTypeList && notification == notify::kComboSelectionEndOk && entry >= 0)
        load_tree(shell, dialog, entry);
    else if (id == ctl::kOpenInFile && entry >= 0)
        platform.open_document(text_of_entry(entry));
}

}  // namespace

DialogBehaviour container_structure_dialog() {
    DialogBehaviour behaviour;
    behaviour.command = on_command;
    return behaviour;
}

void command_container_structure(Shell& shell, int, intptr_t) {
    const ViewState& view = view_state();
    Platform& platform = shell.platform;
    if (view.stream_kind == kStreamH264AnnexB || view.stream_kind == kStreamH264Rtp) {
        platform.message_box(shell.window,
                             "Please open a mpeg2 ts file, mp4/3gp, flv/f4v or mkv/webm file.",
                             "Tavimor(VP8 Only)", mb::kOk | mb::kIconInformation);
        return;
    }
    if (view.structure_kind < 1 || view.structure_kind > 4) {
        platform.message_box(shell.window,
                             "Syntax file not available, Please re-open the original file with "
                             "syntax parsing enabled",
                             "Error", mb::kOk | mb::kIconInformation);
        return;
    }
    WindowHandle list = platform.dialog_item(shell.container_structure, ctl::kStructureTypeList);
    platform.list_clear(list);
    const StructureTypes& types = kTypes[view.structure_kind - 1];
    platform.list_add(list, types.first);
    if (types.second) platform.list_add(list, types.second);
    centre_dialog(shell, shell.container_structure);
    platform.show_window(shell.container_structure, ShowCommand::kShow);
}

}  // namespace tavimor
