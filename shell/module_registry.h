// The module factories and the registry that picks one for a stream.
//
// Each factory fills its table the first time it is called (its "filled" flag
// then stays set) and keeps the table for the process. In this edition only
// the VP8 factory yields a module; the H.264 and raw-YUV factories fill their
// tables and yield nothing. The shell knows no module itself: main() hands the
// VP8 module's factory to the registry before start-up.
#pragma once

#include "containers/file_kind.h"
#include "shell/codec_module.h"

namespace tavimor {

// Codec codes found by the container flow.
inline constexpr int kCodecH264 = 1;
inline constexpr int kCodecVp8 = 2;

using ModuleFactory = CodecModule* (*)();

// Makes factory the VP8 factory (null: none, as before anything was provided).
void provide_vp8_module(ModuleFactory factory);

CodecModule* createH264Module();
CodecModule* createYuvModule();
// The provided VP8 factory's module; null while none was provided.
CodecModule* createVp8Module();

// The factory for the stream kind (and, for containers and unknown kinds, the
// codec code), called; its result, possibly null.
CodecModule* selectModule(int stream_kind, int codec_code);

}  // namespace tavimor
