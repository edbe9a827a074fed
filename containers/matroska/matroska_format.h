// The Matroska/WebM parser as a format of the extraction run (container
// kind 3): it writes the element tree as the structure text and the VP8
// track as IVF, or the H.264 track as an Annex B byte stream.
#pragma once

#include "containers/demuxer_context.h"

namespace tavimor::matroska {

extern const FormatOperations kMatroskaFormat;

}  // namespace tavimor::matroska
