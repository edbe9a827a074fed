// Writes the made-up seed files of the Matroska fuzzer into a folder (the
// checked-in ones in corpus/matroska/ came from here): each shows the parser
// one of the shapes real files take.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/containers/matroska_builder.h"

using namespace tavimor::mkv;

namespace {

std::string vp8_tracks(const std::string& before = "") {
    return element(kTracks, before + track_entry(1, "V_VP8", 33333333, 32, 16));
}

std::string avc_record() {
    std::string record("\x01\x64\x00\x1E\xFD\xE1\x00\x04\x67\x64\x00\x1E\x01\x00\x02\x68\xEE", 17);
    return record;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<std::string, std::string>> seeds;

    // Known sizes throughout, with a seek head, Void, Cues and Tags.
    std::string plain =
        element(kSeekHead,
                element(0x4DBB, uint_element(0x53AB, 0x1549A966) + uint_element(0x53AC, 40))) +
        element(kVoid, std::string(8, '\0')) +
        element(kInfo, uint_element(kTimecodeScale, 1000000) + float_element(kDuration, 100.0) +
                           string_element(0x4D80, "seed")) +
        vp8_tracks();
    for (int i = 0; i < 3; ++i)
        plain += cluster(static_cast<uint64_t>(i) * 33, simple_block(1, 0, frame_bytes(40, i)));
    plain += element(kCues, element(kCuePoint, uint_element(kCueTime, 0))) + element(kTags, "");
    seeds.emplace_back("plain.webm", ebml_header() + element(kSegment, plain));

    // A live recording: unknown sizes, clusters ended by the next one.
    std::string live = ebml_header() + unknown_size(kSegment) + vp8_tracks();
    for (int i = 0; i < 4; ++i)
        live += unknown_size(kCluster) + uint_element(kTimecode, static_cast<uint64_t>(i) * 40) +
                simple_block(1, 0, frame_bytes(20, i));
    seeds.emplace_back("live.webm", live + element(kCues, ""));

    // Audio first, blocks in groups, lacing of all three kinds.
    const std::string audio = track_entry(1, "A_OPUS") + track_entry(2, "V_VP8", 0, 32, 16);
    std::string laced =
        element(kTracks, audio) +
        cluster(0, simple_block(1, 0, std::string("\x01\x03", 2) + "abcdef", 0x82) +
                       simple_block(2, 0, std::string("\x01\x83", 2) + "ghijkl", 0x86) +
                       simple_block(2, 20, std::string("\x01", 1) + "mnop", 0x84) +
                       block_group(2, 40, frame_bytes(12, 9)) + block_group(1, 40, "opus"));
    seeds.emplace_back("laced_audio_first.mkv", ebml_header("matroska") + element(kSegment, laced));

    // H.264 with its parameter sets, the codec private before the codec.
    const std::string entry = element(kTrackEntry, element(kCodecPrivate, avc_record()) +
                                                       string_element(kCodecId, "V_MPEG4/ISO/AVC") +
                                                       uint_element(kTrackNumber, 1));
    const std::string units = std::string("\x00\x03\x65\x88\x84\x00\x02\x06\x05", 9);
    seeds.emplace_back(
        "h264.mkv",
        ebml_header("matroska") +
            element(kSegment, element(kTracks, entry) + cluster(0, simple_block(1, 0, units))));

    // Cut off inside a cluster, and a size running past its cluster.
    const std::string whole = seeds[0].second;
    seeds.emplace_back("cut.webm", whole.substr(0, whole.size() - 60));
    std::string damaged =
        ebml_header() +
        element(kSegment, vp8_tracks() +
                              element(kCluster, id_bytes(kSimpleBlock) + vint(900) + "x") +
                              cluster(40, simple_block(1, 0, "after")));
    seeds.emplace_back("damaged.webm", damaged);

    // Numbers of impossible sizes, chapters nesting, an unknown element.
    const std::string chapters = element(
        0x1043A770,
        element(0x45B9,
                element(0xB6, uint_element(0x73C4, 1) +
                                  element(0xB6, element(0x80, string_element(0x85, "c"))))));
    seeds.emplace_back(
        "odd_numbers.mkv",
        ebml_header("matroska") +
            element(kSegment,
                    element(kInfo, element(kTimecodeScale, std::string(9, '\1')) +
                                       element(kDuration, "\1\2\3") + element(0x7373, "?")) +
                        chapters + vp8_tracks()));

    for (const auto& [name, bytes] : seeds) {
        const std::string path = std::string(argv[1]) + "/" + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
            std::fclose(file) != 0) {
            std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
