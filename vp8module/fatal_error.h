// Decoder failures, and working files that cannot be written or read back,
// are fatal to the analyser: the message is shown and the process ends with
// status 1.
#pragma once

namespace tavimor {

struct Vp8ModuleState;

// Shows "<operation>: <error text>\n<detail>" (caption "Warning", error icon)
// and ends the process with status 1.
[[noreturn]] void fatal_decoder_error(const Vp8ModuleState& state, const char* operation);

// The working files (picture cache, analysis files) could not be written or
// read back, most likely for a full disk: going on would show wrong pictures
// and texts later, so the analyser stops with the reason (errno's text).
[[noreturn]] void stop_on_working_files(const char* what);

}  // namespace tavimor
