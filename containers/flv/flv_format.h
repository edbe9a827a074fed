// The FLV/F4V parser as a format of the extraction run (container kind 2):
// it writes the file header and every tag header as the structure text and
// the H.264 (AVC) video tags into the output as an Annex B byte stream.
#pragma once

#include <cstdint>

#include "containers/demuxer_context.h"

namespace tavimor::flv {

extern const FormatOperations kFlvFormat;

// What the parser keeps from one file to the next for the whole process, as
// the window shows it: tags are numbered on from the previous file, and the
// output path is asked for at the first AVC video tag of the process only
// (later files write their video into the run's raw output).
struct FlvSession {
    int64_t next_tag = 0;
    bool output_asked = false;
};

FlvSession flv_session();
// Makes the next run start from the given session (tests and the fuzzer
// start every file from a known one).
void set_flv_session(const FlvSession& session);

}  // namespace tavimor::flv
