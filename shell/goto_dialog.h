// "GOTODLG" ("Goto MB"): selects the macroblock at a column and row by
// clicking it for the user.
#pragma once

#include <string_view>

#include "platform/geometry.h"
#include "shell/dialog_procedure.h"

namespace tavimor {

struct ViewState;

// The picture position of the macroblock at the column and row typed in the
// fields: 16 x column and 16 x row, negatives as 0, kept inside the picture
// (its height scaled by the vertical zoom).
Point goto_position(std::string_view column, std::string_view row, const ViewState& view);

DialogBehaviour goto_dialog();

// Runs the dialog (command 295).
void run_goto_dialog(Shell& shell);

}  // namespace tavimor
