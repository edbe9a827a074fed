#include "containers/format_table.h"

#include "containers/extraction_request.h"
#include "containers/flv/flv_format.h"
#include "containers/matroska/matroska_format.h"
#include "containers/mp4/mp4_format.h"
#include "containers/ts/ts_format.h"

namespace tavimor {

namespace {

// By container kind. A parser fills its slot with its operations; an empty
// slot is a format this build cannot read yet.
constexpr const FormatOperations* kFormats[kContainerKinds] = {
    &mp4::kMp4Format,
    &ts::kTsFormat,
    &flv::kFlvFormat,
    &matroska::kMatroskaFormat,
};

constexpr const char* kFormatNames[kContainerKinds] = {"MP4/3GP", "MPEG-2 TS", "FLV/F4V",
                                                       "Matroska/WebM"};

bool known_kind(int container_kind) {
    return container_kind >= 0 && container_kind < kContainerKinds;
}

// Formats provided in place of the built-in ones.
const FormatOperations*& provided(int container_kind) {
    static const FormatOperations* formats[kContainerKinds] = {};
    return formats[container_kind];
}

}  // namespace

const FormatOperations* find_format(int container_kind) {
    if (!known_kind(container_kind)) return nullptr;
    const FormatOperations* format = provided(container_kind);
    return format ? format : kFormats[container_kind];
}

void provide_format(int container_kind, const FormatOperations* format) {
    if (known_kind(container_kind)) provided(container_kind) = format;
}

const char* format_name(int container_kind) {
    return known_kind(container_kind) ? kFormatNames[container_kind] : "unknown";
}

}  // namespace tavimor
