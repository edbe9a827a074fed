// "FILETYPEDLG" in dump mode ("Select Dump Info Type"): which macroblock
// information the dump writes and into which file.
#pragma once

#include "shell/dialog_procedure.h"

namespace tavimor {

DialogBehaviour dump_type_dialog();

}  // namespace tavimor
