#include "shell/file_type_step.h"

#include <algorithm>

#include "containers/file_kind.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/container_extraction.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

int chosen_kind(Platform& platform, WindowHandle dialog) {
    return std::max(platform.list_selection(platform.dialog_item(dialog, ctl::kTypeList)), 0);
}

}  // namespace

DialogBehaviour file_type_dialog(const std::string& chosen_path) {
    DialogBehaviour behaviour;
    behaviour.initialise = [chosen_path](Shell& shell, WindowHandle dialog) {
        Platform& platform = shell.platform;
        WindowHandle list = platform.dialog_item(dialog, ctl::kTypeList);
        platform.list_clear(list);
        for (const char* type : kFileTypes) platform.list_add(list, type);
        const int detected = stream_kind_from_extension(chosen_path);
        platform.list_select(list, detected);
        view_state().stream_kind = detected;
    };
    behaviour.command = [](Shell& shell, WindowHandle dialog, int id, int notification) {
        if (id == ctl::kTypeList && notification == notify::kComboSelectionEndOk)
            view_state().stream_kind = chosen_kind(shell.platform, dialog);
    };
    behaviour.accept = [](Shell& shell, WindowHandle dialog) {
        Platform& platform = shell.platform;
        ViewState& view = view_state();
        view.stream_kind = chosen_kind(platform, dialog);
        view.structure_kind = platform.check_state(platform.dialog_item(
                                  dialog, ctl::kEnableSyntaxParsing)) == CheckState::kChecked
                                  ? 1
                                  : 0;
        return true;
    };
    return behaviour;
}

FileTypeResult ask_file_type(Shell& shell, const std::string& chosen_path) {
    if (run_modal_dialog(shell, "DEMUXERTYPEDLG", file_type_dialog(chosen_path)) != ctl::kOk)
        return {};
    ViewState& view = view_state();
    if (container_kind_of(view.stream_kind) < 0) {
        // No container: there is no structure text to show for it.
        view.structure_kind = 0;
        return {true, chosen_path};
    }
    return extract_container(shell, chosen_path);
}

}  // namespace tavimor
