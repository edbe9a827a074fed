// The common procedure of every resource dialog. Each message goes first to
// the current module's dialog filter; the shell handles it only when the
// filter asks for that (nonzero). The shell's part: initialisation (the
// dialog's own fields, then centring), OK (validate and copy; a modal dialog
// ends with 1 only when validation passes), Cancel (ends with 2), resizing of
// the information dialogs, painting, and the dialog's own commands.
#pragma once

#include <functional>

#include "platform/messages.h"

namespace tavimor {

struct Shell;

// What one dialog adds to the common procedure. Every part may be empty.
struct DialogBehaviour {
    // Fills the fields before the dialog is shown.
    std::function<void(Shell&, WindowHandle dialog)> initialise;
    // OK: validates and copies the fields; false keeps the dialog open.
    std::function<bool(Shell&, WindowHandle dialog)> accept;
    // Any other command of a control: its identifier and notification code.
    std::function<void(Shell&, WindowHandle dialog, int id, int notification)> command;
    // A modeless dialog is hidden by OK and Cancel instead of ended.
    bool modeless = false;
};

// The procedure to give the platform for a dialog with this behaviour.
WindowProc dialog_procedure(Shell& shell, DialogBehaviour behaviour);

// Runs the modal dialog made from the template through the common procedure.
intptr_t run_modal_dialog(Shell& shell, std::string_view template_name, DialogBehaviour behaviour);

// Makes the modeless dialog from the template, hidden, through the common procedure.
WindowHandle create_modeless_dialog(Shell& shell, std::string_view template_name,
                                    DialogBehaviour behaviour);

}  // namespace tavimor
