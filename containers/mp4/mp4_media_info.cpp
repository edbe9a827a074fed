// The media information text of the middle operation: the file's brand and
// duration, then each track's properties by its handler.
#include <cstdio>

#include "containers/mp4/mp4_parser.h"

namespace tavimor::mp4 {

namespace {

const char* profile_name(uint32_t profile) {
    switch (profile) {
        case 44:
            return "CAVLC 4:4:4 Intra";
        case 66:
            return "Baseline";
        case 77:
            return "Main";
        case 88:
            return "Extended";
        case 100:
            return "High";
        case 110:
            return "High 10";
        case 122:
            return "High 4:2:2";
        case 244:
            return "High 4:4:4";
        default:
            return "Unknown";
    }
}

void describe_common(std::FILE* out, const Track& track) {
    std::fprintf(out, "\tType: %s\n", fourcc_text(track.handler_type).c_str());
    std::fprintf(out, "\tLanguage: %s\n", track.language.c_str());
    std::fprintf(out, "\tTitle: %s\n", track.title.c_str());
}

void describe_video(std::FILE* out, const Track& track) {
    describe_common(out, track);
    std::fprintf(out, "\twidth = %u\n", track.width);
    std::fprintf(out, "\theight = %u\n", track.height);
    std::fprintf(out, "\th resolution = %u dpi\n", track.horizontal_resolution >> 16);
    std::fprintf(out, "\tv resolution = %u dpi\n", track.vertical_resolution >> 16);
    std::fprintf(out, "\tcompressor = %s\n", track.compressor.c_str());
    std::fprintf(out, "\tprofile = %s@L%u\n", profile_name(track.profile), track.level);
    std::fprintf(out, "\tprofile compatiblity = %u\n", track.profile_compatibility);
}

void describe_audio(std::FILE* out, const Track& track) {
    std::fprintf(out, "\tChannel number = %u\n", track.channels);
    std::fprintf(out, "\tSampel rate = %.1fKHz\n", (track.sample_rate >> 16) / 1000.0);
    std::fprintf(out, "\tMax bit rate = %uKbps\n", track.max_bitrate / 1000);
    std::fprintf(out, "\tAverage bit rate = %uKbps\n", track.average_bitrate / 1000);
    std::fprintf(out, "\tBuffer size = %u\n", track.buffer_size);
}

}  // namespace

int write_media_information(DemuxerContext& context) {
    const auto& state = static_cast<const Mp4State&>(*context.state);
    std::FILE* out = context.messages;
    std::fprintf(out, "Num of tracks: %d\n", state.track_count);
    std::fprintf(out, "General Info\n");
    std::fprintf(out, "\tCodec ID: %s\n", fourcc_text(state.major_brand).c_str());
    if (state.timescale != 0)
        std::fprintf(out, "\tDuration: %llusec\n",
                     static_cast<unsigned long long>(state.duration / state.timescale));
    for (int i = 0; i < state.track_count; ++i) {
        const Track& track = state.tracks[i];
        std::fprintf(out, "Track #: %d\n", i);
        if (track.handler_type == fourcc("vide"))
            describe_video(out, track);
        else if (track.handler_type == fourcc("soun"))
            describe_audio(out, track);
        else
            describe_common(out, track);
    }
    return kFormatOk;
}

}  // namespace tavimor::mp4
