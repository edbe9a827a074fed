// What kind of stream a chosen file holds, from its name or its first bytes.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// The stream kind of the file name's extension (from the last dot of the
// file-name part, dot included), compared byte for byte with the known
// spellings; an unknown or mixed-case extension is kind 0 (H.264 Annex B).
int stream_kind_from_extension(std::string_view path);

// The stream kind the file's first bytes show (IVF, Matroska/WebM, MP4/3GP,
// FLV/F4V, MPEG-2 TS), or -1 when they show none of them or the file cannot
// be read.
int stream_kind_from_content(const std::string& path);

// The extension's kind, or when the extension names none, the content's.
int detect_stream_kind(const std::string& path);

}  // namespace tavimor
