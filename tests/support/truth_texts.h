// The analyser's "Pred Info" texts as the truth files of the syntax-stress
// streams say they must read, derived from what was coded (modes, vectors,
// partitions, references and the reference-buffer updates of the headers)
// without the decoder or the module.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/json_value.h"

namespace tavimor::test {

struct TruthStream {
    std::vector<JsonValue> frames;  // one per decoded frame, in order
    // Per decoded frame: the picture numbers the last, golden and altref
    // buffers held while its macroblocks were decoded.
    std::vector<std::array<int, 3>> references;
    // Per decoded frame: the size in macroblocks of its latest key frame.
    std::vector<std::array<int, 2>> grids;
    // The decoded frame of each shown picture, in order.
    std::vector<size_t> shown;
};

// The frames' derived facts. A picture's number is the count of shown
// pictures when it was decoded, itself included when it is shown.
TruthStream truth_stream(std::vector<JsonValue> frames);

// Reads a truth file (.truth.jsonl, or .truth.jsonl.gz); nothing when it is
// missing or a line is not JSON.
std::optional<TruthStream> read_truth(const std::string& path);

// The "Pred Info" text of macroblock `index` (raster order) of decoded frame `frame`.
std::string truth_pred_info(const TruthStream& truth, size_t frame, int index);

// What "Start MB Info Dump" with type 0 writes for shown picture `picture`
// (counting from 1): the frame line, then every macroblock's text.
std::string truth_pred_dump(const TruthStream& truth, int picture);

}  // namespace tavimor::test
