// The formats a run can select, by container kind: MP4/3GP, MPEG-2 TS,
// FLV/F4V, Matroska/WebM. Each parser fills its slot.
#pragma once

#include "containers/demuxer_context.h"

namespace tavimor {

// The format of the container kind; null for a kind outside 0 to 3 or a
// format whose parser this build does not have.
const FormatOperations* find_format(int container_kind);

// Makes the format read the container kind in place of the built-in one
// (null: the built-in one again), as a test or a tool with a parser of its
// own needs.
void provide_format(int container_kind, const FormatOperations* format);

// The name of the kind's format for messages ("Matroska/WebM", ...), also
// when it has no parser; "unknown" outside 0 to 3.
const char* format_name(int container_kind);

}  // namespace tavimor
