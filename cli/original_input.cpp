#include "cli/original_input.h"

#include "cli/cli_error.h"
#include "vp8module/stream_survey.h"

namespace tavimor {

std::unique_ptr<ReferenceVideo> open_original(const std::string& ivf_path,
                                              const std::string& reference) {
    const auto size = first_picture_size(ivf_path);
    if (!size) throw InputError("not a readable IVF stream with a key frame");
    std::string failure;
    std::unique_ptr<ReferenceVideo> original =
        ReferenceVideo::open(reference, size->first, size->second, failure);
    if (!original) throw InputError(reference + ": " + failure);
    return original;
}

}  // namespace tavimor
