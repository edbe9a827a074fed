// The "Help" menu and the maker's links on the toolbar.
#include <string>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/maker.h"
#include "shell/command_handlers.h"
#include "shell/manual_path.h"
#include "shell/shell.h"

namespace tavimor {

void command_about(Shell& shell, int, intptr_t) {
    std::string text =
        "Tavimor(VP8 Only) is a powerful tool dedicated to analyzing all\r\nVP8 streams.\r\n\r\n";
    text += std::string(kMakerWebAddress) + "\r\n" + std::string(kMakerMailAddress);
    shell.platform.message_box(shell.window, text, "About Tavimor(VP8 Only) 2.00", mb::kOk);
}

void command_maker_link(Shell& shell, int command, intptr_t) {
    if (command == cmd::kWebAddress)
        shell.platform.open_document(kMakerWebAddress);
    else
        shell.platform.open_document("mailto:" + std::string(kMakerMailAddress));
}

void command_manual(Shell& shell, int, intptr_t) {
    const std::string manual = find_manual(shell.platform.executable_path());
    if (manual.empty()) {
        shell.platform.message_box(shell.window,
                                   "The manual Tavimor.pdf is not installed beside the program "
                                   "or in its documentation folder.",
                                   "Warning", mb::kOk | mb::kIconError);
        return;
    }
    if (!shell.platform.open_document(manual))
        shell.platform.message_box(shell.window, "Failed to open Tavimor.pdf", "Warning",
                                   mb::kOk | mb::kIconError);
}

}  // namespace tavimor
