// Raising a decode error: the code and formatted detail are stored in the
// instance's error record and control returns at once to the entry point of
// the decode call, which reports the code.
#pragma once

namespace vp8 {

struct DecoderInstance;

// Thrown by raise_error; caught only by the decoder's entry points.
struct FrameAbort {};

[[noreturn]] void raise_error(DecoderInstance& instance, int code, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Stores a code without detail text.
void set_error(DecoderInstance& instance, int code);

}  // namespace vp8
