#include "shell/information_dialogs.h"

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/dialog_placement.h"
#include "shell/dialog_procedure.h"
#include "shell/shell.h"
#include "shell/shell_services.h"

namespace tavimor {

namespace {

// Where the after-open layout puts them (client coordinates of the main window).
constexpr int kMbInfoY = 70;
constexpr int kPixelInfoY = 400;
constexpr int kSummaryY = 100;
constexpr int kSummaryHeight = 300;
constexpr int kHeaderY = 470;

constexpr int kTextViews[] = {
    ctl::kMbInfoText,         ctl::kPixelInfoText,      ctl::kSummaryText,  ctl::kHeaderAuxFirst,
    ctl::kHeaderAuxFirst + 1, ctl::kHeaderAuxFirst + 2, ctl::kHeaderAuxLast};

WindowHandle* slots(InformationDialogs& dialogs, int n) {
    WindowHandle* all[] = {&dialogs.header, &dialogs.mb_info, &dialogs.pixel_info,
                           &dialogs.summary};
    return all[n];
}

constexpr const char* kTemplates[] = {"HDRINFODLG", "MBINFODLG", "PIXELINFODLG", "SUMMARYDLG"};

}  // namespace

void create_information_dialogs(Shell& shell) {
    destroy_information_dialogs(shell);
    InformationDialogs& dialogs = shell_services().information;
    for (int n = 0; n < 4; ++n)
        *slots(dialogs, n) = create_modeless_dialog(shell, kTemplates[n], {});
}

void show_information_dialogs(Shell& shell) {
    Platform& platform = shell.platform;
    const InformationDialogs& dialogs = shell_services().information;
    const int right = platform.client_rect(shell.window).width();
    place_dialog(shell, dialogs.mb_info, right - platform.window_rect(dialogs.mb_info).width(),
                 kMbInfoY);
    place_dialog(shell, dialogs.pixel_info,
                 right - platform.window_rect(dialogs.pixel_info).width(), kPixelInfoY);
    place_dialog(shell, dialogs.summary, 0, kSummaryY, kSummaryHeight);
    place_dialog(shell, dialogs.header, 0, kHeaderY);
    for (WindowHandle dialog :
         {dialogs.mb_info, dialogs.pixel_info, dialogs.summary, dialogs.header})
        platform.show_window(dialog, ShowCommand::kShow);
}

void clear_information_dialogs(Shell& shell) {
    Platform& platform = shell.platform;
    InformationDialogs& dialogs = shell_services().information;
    for (int n = 0; n < 4; ++n) {
        WindowHandle dialog = *slots(dialogs, n);
        if (dialog == kNoWindow) continue;
        for (int id : kTextViews) {
            WindowHandle view = platform.dialog_item(dialog, id);
            if (view != kNoWindow) platform.set_window_text(view, "");
        }
        WindowHandle tree = platform.dialog_item(dialog, ctl::kHeaderTree);
        if (tree != kNoWindow) platform.tree_clear(tree);
    }
}

void destroy_information_dialogs(Shell& shell) {
    InformationDialogs& dialogs = shell_services().information;
    for (int n = 0; n < 4; ++n) {
        WindowHandle& dialog = *slots(dialogs, n);
        if (dialog != kNoWindow) shell.platform.destroy_window(dialog);
        dialog = kNoWindow;
    }
}

}  // namespace tavimor
