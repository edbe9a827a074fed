// "VIDEOOUTPUTDLG": where the video track found in a container goes. It
// offers the container's own path with the extension of the codec (".264"
// for H.264, ".vp8" for VP8), which the user may change by typing or with the
// browse button.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

struct Shell;

// The container's path with the codec's extension in place of its own.
std::string video_output_path(std::string_view container_path, int codec_code);

// Asks for the output path of the codec found (1 H.264, 2 VP8) in the
// container; nothing when the user closed the dialog without choosing.
std::optional<std::string> ask_video_output(Shell& shell, const std::string& container_path,
                                            int codec_code);

}  // namespace tavimor
