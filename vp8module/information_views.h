// The information dialogs filled from the picture shown: the "MB Info" or
// "Pred Info" text of the selected macroblock, its "Pixel Info" text, the
// "Picture" summary and the "FrameHdr" tree.
#pragma once

#include <string>

#include "vp8module/mb_texts.h"

namespace tavimor {

struct Vp8ModuleState;

// The tabs of "MBINFODLG".
inline constexpr int kMbInfoTab = 0;
inline constexpr int kPredInfoTab = 1;

// The macroblock at a picture position of the picture shown.
MbPlace mb_place_at(int x, int y);

// The texts a tab of the dialogs asks for, for the macroblock at (x, y).
std::string mb_info_tab_text(Vp8ModuleState& state, int tab, int x, int y);

// The text of the picture's header trace (its lines as the decoder wrote them).
std::string header_trace_text(Vp8ModuleState& state);

// Rebuild one dialog's view for the selected macroblock / the picture shown.
void show_mb_info(Vp8ModuleState& state);
void show_pixel_info(Vp8ModuleState& state);
void show_summary(Vp8ModuleState& state);
void show_header_tree(Vp8ModuleState& state);

// All four, as after each new picture while not playing.
void show_information(Vp8ModuleState& state);

}  // namespace tavimor
