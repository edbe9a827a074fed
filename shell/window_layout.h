// The layout of the main window's client area: where the picture lies, the
// scroll bars' ranges, the status label above the picture and the view tab
// bar under the toolbar.
#pragma once

namespace tavimor {

struct Shell;

// Lays the client area out again (on every resize) and invalidates it.
void lay_out_main_window(Shell& shell);

// Makes the view tab bar hold its tabs: "Final", "Pre-LoopFilter",
// "Predicted", "Residual", and while a reference is loaded "Orig YUV" and
// "Final-Orig".
void sync_view_tabs(Shell& shell);

}  // namespace tavimor
