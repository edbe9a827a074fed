#include "containers/matroska/matroska_format.h"

#include <memory>

#include "containers/matroska/matroska_state.h"

namespace tavimor::matroska {

namespace {

MatroskaState& state_of(DemuxerContext& context) {
    return static_cast<MatroskaState&>(*context.state);
}

std::unique_ptr<FormatState> make_state() {
    return std::make_unique<MatroskaState>();
}

int setup(DemuxerContext& context) {
    return state_of(context).setup(context);
}
int header(DemuxerContext& context) {
    return state_of(context).header(context);
}
int body(DemuxerContext& context) {
    return state_of(context).body(context);
}
int cleanup(DemuxerContext& context) {
    state_of(context).cleanup();
    return kFormatOk;
}

}  // namespace

// No middle step: the header walks the EBML header, the body the Segment.
const FormatOperations kMatroskaFormat = {"Matroska/WebM", make_state, setup,  header,
                                          nullptr,         body,       cleanup};

}  // namespace tavimor::matroska
