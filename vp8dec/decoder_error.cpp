#include "vp8dec/decoder_error.h"

#include <cstdarg>
#include <cstdio>

#include "vp8dec/decoder_instance.h"

namespace vp8 {

void raise_error(DecoderInstance& instance, int code, const char* format, ...) {
    ErrorRecord& error = instance.error;
    error.code = code;
    error.has_detail = format != nullptr;
    error.detail[0] = '\0';
    if (format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(error.detail, sizeof(error.detail), format, args);
        va_end(args);
    }
    throw FrameAbort{};
}

void set_error(DecoderInstance& instance, int code) {
    instance.error.code = code;
    instance.error.has_detail = 0;
    instance.error.detail[0] = '\0';
}

}  // namespace vp8
