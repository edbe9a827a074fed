// The views that compare the picture shown with the original the user
// loaded ("Open Original YUV Ref File"): the original's picture, the
// difference 128 + final - original, their samples in the pixel dialog, and
// the PSNR lines of the summary.
#pragma once

#include <string>

namespace tavimor {

struct Vp8ModuleState;
struct ViewState;

// Command 301: asks for the original (raw I420 at the stream's display size,
// or YUV4MPEG2), compares every picture of the stream with it and shows the
// two views' tabs. A file that does not fit is refused with a message.
void load_original(Vp8ModuleState& state);

// Forgets the original (Close).
void unload_original(Vp8ModuleState& state);

// Puts the original (tab 4) or the difference (tab 5) of the picture shown
// into the shown picture; no picture when the original has none for it.
void show_original_view(Vp8ModuleState& state, ViewState& view);

// The pixel text of the original (tab 5) or the difference (tab 6) for the
// macroblock at (x, y).
std::string original_pixel_text(Vp8ModuleState& state, int tab, int x, int y);

// The summary's lines about the original, after the lines every summary has;
// empty without an original.
std::string original_summary_lines(const Vp8ModuleState& state, int picture_number);

}  // namespace tavimor
