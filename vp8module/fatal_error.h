// Decoder failures are fatal to the analyser: the message is shown and the
// process ends with status 1.
#pragma once

namespace tavimor {

struct Vp8ModuleState;

// Shows "<operation>: <error text>\n<detail>" (caption "Warning", error icon)
// and ends the process with status 1.
[[noreturn]] void fatal_decoder_error(const Vp8ModuleState& state, const char* operation);

}  // namespace tavimor
