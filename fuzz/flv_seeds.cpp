// Writes the made-up seed files of the FLV/F4V fuzzer into a folder (the
// checked-in ones in corpus/flv/ came from here): each shows the parser one
// of the shapes real and damaged files take.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/containers/flv_builder.h"

using namespace tavimor::flv_build;

namespace {

// The bytes of a literal, zeros included.
template <size_t N>
std::string raw(const char (&text)[N]) {
    return std::string(text, N - 1);
}

const std::string kSps("\x67\x64\x00\x1E\xAC\xD9", 6);
const std::string kPps("\x68\xEB\xE3\xCB", 4);

std::string sequence_header(int nal_length_size) {
    return avc_data(0, 0, avc_record(nal_length_size, {kSps}, {kPps}));
}

std::string units(int length_size, int first, int count) {
    std::vector<std::string> list;
    for (int i = 0; i < count; ++i) list.push_back(nal_unit(20 + 13 * i, first + i));
    return length_prefixed(length_size, list);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<std::string, std::string>> seeds;

    // Audio and video: metadata, the sequence header, pictures of two
    // slices, audio between them, the end of the sequence.
    std::vector<Tag> av = {script_tag(raw("\x02\x00\x0AonMetaData")), video_tag(sequence_header(4)),
                           audio_tag(raw("\xAF\x00\x12\x10"))};
    for (int i = 0; i < 4; ++i) {
        av.push_back(video_tag(avc_data(1, 40, units(4, i * 2, 2), i == 0 ? 1 : 2), i * 40));
        av.push_back(audio_tag(raw("\xAF\x01\x21\x00"), i * 40 + 20));
    }
    av.push_back(video_tag(avc_data(2, 0, "", 2), 160));
    seeds.emplace_back("audio_video.flv", file_header() + tags(av));

    // Video only, another codec: no header lines, a warning.
    std::vector<Tag> vp6 = {script_tag(raw("\x02\x00\x0AonMetaData"))};
    for (int i = 0; i < 3; ++i)
        vp6.push_back(
            video_tag(video_data(i == 0 ? 1 : 2, 4, raw("\x00\x46\x00\x00\x12\x34")), i * 67));
    seeds.emplace_back("video_only_vp6.flv", file_header(1) + tags(vp6));

    // Every NAL length size, and units before any sequence header.
    std::vector<Tag> sizes = {video_tag(avc_data(1, 0, units(4, 0, 2)))};
    for (int size : {1, 2, 3, 4}) {
        sizes.push_back(video_tag(sequence_header(size)));
        sizes.push_back(video_tag(avc_data(1, 0, units(size, size, 3))));
    }
    seeds.emplace_back("nal_length_sizes.flv", file_header() + tags(sizes));

    // Sizes and lengths that do not hold together: empty tags, a packet cut
    // short, an unknown tag and packet type, a NAL length past its tag, a
    // length prefix cut by the tag's end, a record cut inside a set.
    std::string record = avc_record(4, {kSps, kSps}, {kPps});
    const std::vector<Tag> damaged = {
        audio_tag(""),
        video_tag(""),
        video_tag(raw("\x17\x01")),
        Tag{15, "unknown"},
        video_tag(avc_data(3, 0, "????")),
        video_tag(avc_data(0, 0, record.substr(0, 12))),
        video_tag(sequence_header(2)),
        video_tag(avc_data(1, 0, units(2, 0, 1) + be(5000, 2) + "short")),
        video_tag(avc_data(1, 0, units(2, 1, 1) + std::string(1, '\0'))),
        video_tag(avc_data(1, 0, units(2, 2, 1))),
    };
    seeds.emplace_back("damaged.flv", file_header() + tags(damaged));

    // Cut off inside a unit, and a data offset past the header.
    const std::string whole = seeds[0].second;
    seeds.emplace_back("cut.flv", whole.substr(0, whole.size() / 2 + 7));
    seeds.emplace_back("data_offset.flv",
                       file_header(5, 13) + "pad!" + tags({video_tag(sequence_header(4))}));

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
