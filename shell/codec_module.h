// The codec module table: eleven entries, ten operations and the module's own
// state, in this order. The shell reaches every codec through the current
// module's table and never looks inside the state.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace tavimor {

struct CodecModule {
    // 0: opens the stream at the path (narrow, at most 260 bytes).
    void (*open)(const char* path);
    // 1: a module command: window, message, command identifier, second parameter.
    int (*command)(WindowHandle window, unsigned message, int command_id, intptr_t extra);
    // 2: closes whatever is open; harmless when nothing is.
    void (*close)();
    // 3: left button down: key state and packed client point.
    void (*left_click)(unsigned key_state, intptr_t packed_point);
    // 4: one playback step.
    int (*tick)();
    // 5: mouse move: window and packed client point; the window procedure's result.
    int (*mouse_move)(WindowHandle window, intptr_t packed_point);
    // 6: redraw; full nonzero also rebuilds the picture and the views.
    int (*refresh)(int full);
    // 7: nonzero while a stream is open.
    int (*is_open)(int ignored);
    // 8: sees every dialog message first; nonzero lets the shell handle it too.
    //    May be null: the shell then handles nothing.
    intptr_t (*dialog_filter)(WindowHandle dialog, unsigned message, uintptr_t first,
                              intptr_t second);
    // 9: the end of the after-open layout. May be null.
    void (*after_open_layout)();
    // 10: the module's state record.
    void* state;
};

}  // namespace tavimor
