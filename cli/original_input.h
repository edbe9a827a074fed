// The original a stream is compared with, opened for the stream's picture
// size; one message for every command that takes --ref.
#pragma once

#include <memory>
#include <string>

#include "vp8module/reference_video.h"

namespace tavimor {

// Opens REF at the size of the first key frame of the IVF stream at
// `ivf_path`. Throws InputError naming REF when it cannot be used.
std::unique_ptr<ReferenceVideo> open_original(const std::string& ivf_path,
                                              const std::string& reference);

}  // namespace tavimor
