// The MP4/3GP parser, container kind 0 of the extraction run: the box walk
// with its structure text, the sample tables of up to ten tracks, the media
// information text and the extraction of an H.264 track as an Annex B
// byte stream.
#pragma once

#include "containers/demuxer_context.h"

namespace tavimor::mp4 {

// The parser's format operations.
extern const FormatOperations kMp4Format;

// The output path of an H.264 track is asked for once in the program's
// lifetime: true the first time, false ever after (later runs write the
// samples into the raw output).
bool take_output_question();

// Makes the next H.264 file ask for its output path again, as in a new
// program; for tests and tools that run several files.
void reset_output_question();

}  // namespace tavimor::mp4
