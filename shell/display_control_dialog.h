// "DISPCTRLDLG" ("Display Control", opened by "Picture Analyzer"): the YUV
// components and bit planes drawn, and the statistics numbers shown on the
// macroblocks. Every change redraws the picture at once.
#pragma once

#include "shell/dialog_procedure.h"

namespace tavimor {

class Platform;

// Component mask of the three component boxes (Y 4, U 2, V 1).
int component_mask_of(Platform& platform, WindowHandle dialog);
// Bit-plane mask of the eight bit-plane boxes (bit n for box "Bn").
int bit_plane_mask_of(Platform& platform, WindowHandle dialog);

// Checks the component boxes of a mask (used by the context menu too).
void show_component_mask(Platform& platform, WindowHandle dialog, int mask);

// Shows the view state's components, bit planes and statistics type in the
// dialog's boxes and radio buttons (the context menu and Close change them
// while the dialog is hidden).
void show_display_choices(Platform& platform, WindowHandle dialog);

DialogBehaviour display_control_dialog();

}  // namespace tavimor
