// The file-type step of the open flow: "DEMUXERTYPEDLG" asks what kind the
// chosen file is (the kind its extension names comes preselected) and whether
// the container's structure text shall be written; a container then goes
// through the extraction run, whose video track becomes the stream to open.
#pragma once

#include <string>

#include "shell/dialog_procedure.h"
#include "shell/shell.h"

namespace tavimor {

// The list of kinds in the order of the stream kinds.
inline constexpr const char* kFileTypes[] = {"H264 Annex B",  "H264 RTP",     "MP4/3GP FILE",
                                             "MPEG2 TS FILE", "FLV/F4V FILE", "MKV/MKV FILE",
                                             "YUV/YUV FILE",  "VP8/VP8 FILE"};

DialogBehaviour file_type_dialog(const std::string& chosen_path);

// Asks and, for a container, extracts: the step of "Open" and dropped files.
FileTypeResult ask_file_type(Shell& shell, const std::string& chosen_path);

}  // namespace tavimor
