// The picture analyser's luma histogram: 256 bins, one per sample value,
// scaled so that the fullest bin reads 128, and the painting of the dialogs
// that draw something of their own.
#pragma once

#include <array>
#include <cstdint>

#include "platform/handles.h"
#include "shell/planar_picture.h"

namespace tavimor {

class Canvas;
struct Shell;

using Histogram = std::array<int32_t, 256>;

// Counts the luma samples (height x luma row length) and scales the counts so
// that the largest becomes 128; all zero for a picture without samples.
void compute_histogram(const PlanarPicture& picture, Histogram& bins);

// Feeds the picture analyser: only while its dialog is visible; the dialog
// then repaints.
void feed_histogram(Shell& shell, const PlanarPicture& picture);

// The shell's painting of a dialog: the histogram on the picture analyser,
// and the QP choices of "Display Control", which only a stream with QP values
// offers.
void paint_dialog(Shell& shell, WindowHandle dialog, Canvas* canvas);

}  // namespace tavimor
