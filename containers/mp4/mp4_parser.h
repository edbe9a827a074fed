// The MP4/3GP parser's steps, as the format operations call them.
#pragma once

#include <cstdint>
#include <cstdio>

#include "containers/demuxer_context.h"
#include "containers/mp4/mp4_fields.h"
#include "containers/mp4/mp4_state.h"

namespace tavimor::mp4 {

// The header operation: walks the boxes, writing the structure text and
// keeping the tables, then decides the video codec.
int parse_boxes(DemuxerContext& context);

// The middle operation: the media information text on the message stream.
int write_media_information(DemuxerContext& context);

// The body operation: the H.264 track's parameter sets and samples as an
// Annex B byte stream into the raw output.
int extract_samples(DemuxerContext& context);

// What a box with fields of its own needs: where its lines go and what
// they fill.
struct FieldsTarget {
    Mp4State& state;
    Track& track;
    StructureText& text;
    std::FILE* messages;
    int depth;  // the depth of the box's field lines
};

// Writes the field lines of a box whose content is read whole (every box
// with fields but the sample description and its entries) and keeps what
// the parser needs. A box too short for its fixed fields writes none.
void parse_fields(uint32_t type, FieldReader& fields, const FieldsTarget& target);

}  // namespace tavimor::mp4
