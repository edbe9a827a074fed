// What the caller asks of one extraction run: the container file, where its
// video and its structure texts go, and who decides the output path once the
// parser has found the video codec.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tavimor {

// The container kinds of a run, in the order of the format table.
inline constexpr int kContainerMp4 = 0;
inline constexpr int kContainerTs = 1;
inline constexpr int kContainerFlv = 2;
inline constexpr int kContainerMkv = 3;
inline constexpr int kContainerKinds = 4;

// Codec codes a run finds.
inline constexpr int kFoundH264 = 1;
inline constexpr int kFoundVp8 = 2;

// Called by a parser when it has found the video track (type kFoundH264 or
// kFoundVp8; text empty): the answer is the path the video goes to, or
// nothing when the user declined (the run then stops and fails, cancelled).
// Called with type 0 for a warning (the text, or empty for an unknown codec);
// the answer is then ignored.
using CodecFoundCallback =
    std::function<std::optional<std::string>(int type, const std::string& text)>;

struct ExtractionRequest {
    std::string input_path;
    std::string raw_output_path;     // receives the video until the codec is found
    std::string second_output_path;  // not used by the parsers of this edition
    std::string structure_path;      // empty: no structure text
    std::string pes_path;            // TS only; empty: no PES text
    std::string message_path;        // empty: the process's standard output
    int container_kind = kContainerMp4;
    CodecFoundCallback codec_found;
};

}  // namespace tavimor
