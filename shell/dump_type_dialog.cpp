#include "shell/dump_type_dialog.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr const char* kDumpTypes[] = {"MB Pred Info", "Residual Pixel Info", "DCT Coef Info"};
constexpr size_t kPathCharacters = kPathCapacity - 1;

void browse(Shell& shell, WindowHandle dialog) {
    FileDialogRequest request;
    request.filters = {{"All", "*.*"}, {"H.264", "*.h264"}};
    request.overwrite_prompt = true;
    WindowHandle field = shell.platform.dialog_item(dialog, ctl::kPathField);
    request.initial_path = shell.platform.window_text(field);
    if (std::optional<std::string> path = shell.platform.save_file_dialog(dialog, request))
        shell.platform.set_window_text(field, *path);
}

}  // namespace

DialogBehaviour dump_type_dialog() {
    DialogBehaviour behaviour;
    behaviour.initialise = [](Shell& shell, WindowHandle dialog) {
        Platform& platform = shell.platform;
        platform.set_window_text(dialog, "Select Dump Info Type");
        WindowHandle list = platform.dialog_item(dialog, ctl::kTypeList);
        platform.list_clear(list);
        for (const char* type : kDumpTypes) platform.list_add(list, type);
        platform.list_select(list, 0);
    };
    behaviour.accept = [](Shell& shell, WindowHandle dialog) {
        Platform& platform = shell.platform;
        const std::string path =
            platform.window_text(platform.dialog_item(dialog, ctl::kPathField));
        if (path.empty()) {
            platform.message_box(dialog, "No File Selected, please Select a file", "Warning",
                                 mb::kOk | mb::kIconInformation);
            return false;
        }
        if (path.size() > kPathCharacters) {
            // Cut short, the path would name another file.
            platform.message_box(dialog, "The file name is too long, please select a shorter one",
                                 "Warning", mb::kOk | mb::kIconInformation);
            return false;
        }
        ViewState& view = view_state();
        view.dump_type =
            std::max(platform.list_selection(platform.dialog_item(dialog, ctl::kTypeList)), 0);
        set_path(view.dump_path, path);
        return true;
    };
    behaviour.command = [](Shell& shell, WindowHandle dialog, int id, int) {
        if (id == ctl::kBrowse) browse(shell, dialog);
    };
    return behaviour;
}

}  // namespace tavimor
