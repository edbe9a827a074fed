// One extraction run: the container file through its format's parser, which
// writes the structure text (when asked) and the video track into the output
// the codec-found callback names.
#pragma once

#include <string>

#include "containers/extraction_request.h"

namespace tavimor {

struct ExtractionResult {
    bool ok = false;
    bool cancelled = false;    // the user declined to name the output: no message needed
    bool codec_found = false;  // a parser found a video track it can extract
    int codec_code = 0;        // the context's codec code at the end (1 unless VP8 was found)
    std::string output_path;   // where the video went (the raw output when no codec was found)
    std::string failure;       // why the run failed, one sentence for the user
};

// Runs the request: opens the files, selects the format, calls setup, header,
// middle and body, then closes every file and calls cleanup. The wait cursor
// is the caller's. A failed run has closed every file it opened; what it
// wrote stays, but it is no stream to open.
ExtractionResult run_extraction(const ExtractionRequest& request);

struct FormatOperations;

// The same with the given format in place of the format table's (tests drive
// the run with formats of their own); null stands for a kind whose parser
// this build does not have.
ExtractionResult run_extraction(const ExtractionRequest& request, const FormatOperations* format);

}  // namespace tavimor
