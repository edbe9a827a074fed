#include "shell/dialog_procedure.h"

#include <initializer_list>

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/dialog_placement.h"
#include "shell/histogram.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr int kDialogOk = 1;
constexpr int kDialogCancel = 2;

// Tab strips of the information dialogs and the controls that fill the rest.
constexpr int kInformationTabs[] = {ctl::kHeaderTabs, ctl::kMbInfoTabs, ctl::kPixelInfoTabs,
                                    ctl::kSummaryTabs};
constexpr int kInformationViews[] = {
    ctl::kHeaderTree,    ctl::kHeaderAuxFirst, ctl::kHeaderAuxFirst + 1, ctl::kHeaderAuxFirst + 2,
    ctl::kHeaderAuxLast, ctl::kMbInfoText,     ctl::kPixelInfoText,      ctl::kSummaryText};

// The tab strip keeps its height and spans the width; the view below fills the rest.
void lay_out_information_dialog(Platform& platform, WindowHandle dialog) {
    WindowHandle tabs = kNoWindow;
    for (int id : kInformationTabs)
        if ((tabs = platform.dialog_item(dialog, id)) != kNoWindow) break;
    if (tabs == kNoWindow) return;
    const Rect client = platform.client_rect(dialog);
    const int strip = platform.window_rect(tabs).height();
    platform.move_window(tabs, rect_at(0, 0, client.width(), strip));
    for (int id : kInformationViews) {
        WindowHandle view = platform.dialog_item(dialog, id);
        if (view != kNoWindow)
            platform.move_window(view, rect_at(0, strip, client.width(), client.height() - strip));
    }
}

// Ends a modal dialog, hides a modeless one.
void finish(Shell& shell, WindowHandle dialog, const DialogBehaviour& behaviour, intptr_t result) {
    if (behaviour.modeless)
        shell.platform.show_window(dialog, ShowCommand::kHide);
    else
        shell.platform.end_dialog(dialog, result);
}

intptr_t shell_part(Shell& shell, const DialogBehaviour& behaviour, WindowHandle dialog,
                    unsigned message, uintptr_t first, intptr_t second) {
    switch (message) {
        case msg::kInitDialog:
            if (behaviour.initialise) behaviour.initialise(shell, dialog);
            centre_dialog(shell, dialog);
            return 1;
        case msg::kCommand: {
            const int id = command_id(first);
            if (id == ctl::kOk && behaviour.accept) {
                if (behaviour.accept(shell, dialog)) finish(shell, dialog, behaviour, kDialogOk);
            } else if (id == ctl::kOk) {
                finish(shell, dialog, behaviour, kDialogOk);
            } else if (id == ctl::kCancel) {
                finish(shell, dialog, behaviour, kDialogCancel);
            } else if (behaviour.command) {
                behaviour.command(shell, dialog, id, command_notification(first));
            }
            return 1;
        }
        case msg::kSize:
            lay_out_information_dialog(shell.platform, dialog);
            return 1;
        case msg::kPaint:
            paint_dialog(shell, dialog, paint_canvas(second));
            return 1;
        default:
            return 0;
    }
}

}  // namespace

WindowProc dialog_procedure(Shell& shell, DialogBehaviour behaviour) {
    return [&shell, behaviour = std::move(behaviour)](WindowHandle dialog, unsigned message,
                                                      uintptr_t first, intptr_t second) {
        auto filter = shell.module ? shell.module->dialog_filter : nullptr;
        if (!filter || filter(dialog, message, first, second) == 0) return intptr_t{0};
        return shell_part(shell, behaviour, dialog, message, first, second);
    };
}

intptr_t run_modal_dialog(Shell& shell, std::string_view template_name, DialogBehaviour behaviour) {
    return shell.platform.run_dialog(template_name, shell.window,
                                     dialog_procedure(shell, std::move(behaviour)));
}

WindowHandle create_modeless_dialog(Shell& shell, std::string_view template_name,
                                    DialogBehaviour behaviour) {
    behaviour.modeless = true;
    return shell.platform.create_dialog(template_name, shell.window,
                                        dialog_procedure(shell, std::move(behaviour)));
}

}  // namespace tavimor
