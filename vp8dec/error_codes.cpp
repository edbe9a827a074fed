#include "vp8dec/error_codes.h"

namespace vp8 {

const char* error_code_text(int code) {
    static const char* const kTexts[] = {
        "Success",
        "Unspecified internal error",
        "Memory allocation error",
        "ABI version mismatch",
        "Codec does not implement requested capability",
        "Bitstream not supported by this decoder",
        "Bitstream required feature not supported by this decoder",
        "Corrupt frame detected",
        "Invalid parameter",
        "End of iterated list",
    };
    if (code < 0 || code >= static_cast<int>(sizeof(kTexts) / sizeof(kTexts[0])))
        return "Unrecognized error code";
    return kTexts[code];
}

}  // namespace vp8
