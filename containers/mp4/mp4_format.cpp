#include "containers/mp4/mp4_format.h"

#include <atomic>
#include <memory>

#include "containers/mp4/mp4_parser.h"
#include "containers/mp4/mp4_state.h"

namespace tavimor::mp4 {

namespace {

std::atomic<bool> output_asked{false};

std::unique_ptr<FormatState> make_state() {
    return std::make_unique<Mp4State>();
}

int cleanup(DemuxerContext& context) {
    // The tables go with the state; nothing else is held.
    if (auto* state = dynamic_cast<Mp4State*>(context.state.get())) {
        state->tracks = {};
        state->content = {};
    }
    return kFormatOk;
}

}  // namespace

bool take_output_question() {
    return !output_asked.exchange(true);
}

void reset_output_question() {
    output_asked = false;
}

const FormatOperations kMp4Format = {
    "MP4/3GP", make_state, nullptr, parse_boxes, write_media_information, extract_samples, cleanup,
};

}  // namespace tavimor::mp4
