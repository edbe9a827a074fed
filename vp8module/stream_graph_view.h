// The "Stream Graph" dialog of the stream shown: painted from the stream's
// survey and the comparison with the original; a click on a bar shows that
// picture.
#pragma once

#include <cstdint>

#include "display/stream_graph.h"
#include "platform/handles.h"

namespace tavimor {

class Canvas;
struct Vp8ModuleState;

// The graph of the stream (its survey read on first use after each open).
StreamGraph stream_graph(Vp8ModuleState& state);

// The module's part of the graph dialog's messages (paint and clicks); 1
// when the shell's common procedure handles the message too.
intptr_t stream_graph_message(WindowHandle dialog, unsigned message, intptr_t second);

// Steps forward or back until picture n (from 1) is shown, or the stream ends.
void show_picture_number(int n);

}  // namespace tavimor
