// What kind of stream a chosen file holds, from its name or its first bytes.
// The stream kinds are the positions of the file-type list.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

inline constexpr int kStreamH264AnnexB = 0;
inline constexpr int kStreamH264Rtp = 1;
inline constexpr int kStreamMp4 = 2;
inline constexpr int kStreamTs = 3;
inline constexpr int kStreamFlv = 4;
inline constexpr int kStreamMkv = 5;
inline constexpr int kStreamYuv = 6;
inline constexpr int kStreamVp8 = 7;

// The container kind of an extraction run for a container stream kind (2 to
// 5: MP4, TS, FLV, MKV), or -1 for the other kinds.
int container_kind_of(int stream_kind);

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
