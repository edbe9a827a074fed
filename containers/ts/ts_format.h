// The MPEG-2 TS parser as a format of the extraction run (container kind 1):
// it writes every transport packet's fields as the structure text and every
// PES header of the video and audio PIDs as the PES text, follows the program
// tables to the H.264 video PID and writes its PES payloads as they are.
#pragma once

#include "containers/demuxer_context.h"

namespace tavimor::ts {

extern const FormatOperations kTsFormat;

// The output path of the video is asked for once in the process's lifetime;
// later runs leave the video in the raw output. Tools and tests that treat
// many files as if each were the first forget that it was asked.
void forget_output_asked();

}  // namespace tavimor::ts
