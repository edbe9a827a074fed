// "Container Structure": the structure text of the last container opened with
// syntax parsing, as a tree in "CONTAINERSTRUCTDLG" (and, for MPEG-2 TS, its
// PES text), or in a file of its own when it is too long for the tree.
#pragma once

#include "shell/dialog_procedure.h"

namespace tavimor {

// Lines the tree holds at the most.
inline constexpr int kStructureTreeLines = 50000;

DialogBehaviour container_structure_dialog();

}  // namespace tavimor
