// Decoder error codes and their texts.
#pragma once

namespace vp8 {

enum DecoderStatus : int {
    kOk = 0,
    kErrorUnspecified = 1,
    kErrorMemory = 2,
    kErrorAbiMismatch = 3,
    kErrorIncapable = 4,
    kErrorUnsupportedBitstream = 5,
    kErrorUnsupportedFeature = 6,
    kErrorCorruptFrame = 7,
    kErrorInvalidParameter = 8,
    kErrorListEnd = 9,
};

// The fixed text of an error code; "Unrecognized error code" for any other value.
const char* error_code_text(int code);

}  // namespace vp8
