#include "containers/format_table.h"

#include "containers/extraction_request.h"

namespace tavimor {

namespace {

// By container kind. A parser fills its slot with its operations; an empty
// slot is a format this build cannot read yet.
constexpr const FormatOperations* kFormats[kContainerKinds] = {
    nullptr,  // MP4/3GP
    nullptr,  // MPEG-2 TS
    nullptr,  // FLV/F4V
    nullptr,  // Matroska/WebM
};

constexpr const char* kFormatNames[kContainerKinds] = {"MP4/3GP", "MPEG-2 TS", "FLV/F4V",
                                                       "Matroska/WebM"};

bool known_kind(int container_kind) {
    return container_kind >= 0 && container_kind < kContainerKinds;
}

}  // namespace

const FormatOperations* find_format(int container_kind) {
    return known_kind(container_kind) ? kFormats[container_kind] : nullptr;
}

const char* format_name(int container_kind) {
    return known_kind(container_kind) ? kFormatNames[container_kind] : "unknown";
}

}  // namespace tavimor
