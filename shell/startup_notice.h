// The notice shown at start-up ("MSGDIALOG") until the user ticks "Don't show
// next time", which the settings file keeps ("Local Info", "CheckNever").
#pragma once

namespace tavimor {

struct Shell;

// Shows the notice unless the settings file says not to.
void show_startup_notice(Shell& shell);

}  // namespace tavimor
