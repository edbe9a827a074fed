// Writes the made-up seed inputs of the MP4/3GP harness into the folder
// given: a file of each shape the parser meets, built as the tests build
// them. The two samples beside them are copies of shared test files.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/containers/mp4_builder.h"

using namespace tavimor::test::mp4;

namespace {

H264Layout small_h264() {
    H264Layout layout;
    layout.samples = {units({"\x65\x88\x80", "\x06\x05\x01"}), units({"\x41\x9A\x02"}),
                      units({"\x41\x9A\x04"})};
    layout.chunks = {2, 1};
    layout.gap = "not video";
    return layout;
}

std::string audio_tracks() {
    const std::string es = full(0) + u8(3) + u8(30) + u16(2) + u8(0x40) + u8(3) + "abc" + u8(4) +
                           u8(13) + u8(0x40) + u8(0x15) + be(10, 3) + u32(128000) + u32(64000) +
                           u8(5) + u8(2) + u16(0x1208);
    const std::string damr = box("damr", "SYNT" + u8(0) + u16(0x81FF) + u8(0) + u8(1));
    return trak("soun", stsd({audio_entry("mp4a", box("esds", es)), audio_entry("samr", damr)})) +
           box("trak", box("mdia", mdhd() + hdlr("hint", "Hint") +
                                       box("minf", box("nmhd", full(0)) +
                                                       box("stbl", stsd({box("rtp ", "")})))));
}

std::string wide_boxes() {
    const std::string matrix =
        u32(0x10000) + std::string(12, 0) + u32(0x10000) + std::string(12, 0) + u32(0x40000000);
    return ftyp() +
           box("moov", box("mvhd", full(1) + u64(1) + u64(2) + u32(1000) + u64(3000) +
                                       u32(0x10000) + u16(0x100) + std::string(10, 0) + matrix +
                                       std::string(24, 0) + u32(2)) +
                           box("trak", box("tkhd", full(1, 3) + u64(1) + u64(2) + u32(1) + u32(0) +
                                                       u64(3000) + std::string(16, 0) + matrix +
                                                       u32(64 << 16) + u32(48 << 16)) +
                                           box("edts", box("elst", full(1) + u32(1) + u64(3000) +
                                                                       u64(~0ull) + u32(0x10000))) +
                                           box("udta", "")));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(std::string(argv[1]) + "/" + name, std::ios::binary) << bytes;
    };
    H264Layout layout = small_h264();
    write("h264.mp4", h264_file(layout));
    const std::string plain = h264_file(layout);
    write("cut.mp4", plain.substr(0, plain.size() - 12));
    write("fragmented.mp4", ftyp() + box("moof", "") + plain.substr(ftyp().size()));
    layout.media_first = true;
    layout.extra_tracks = audio_tracks();
    write("media_first_with_audio.mp4", h264_file(layout));

    H264Layout sizes;
    sizes.avcc = avcc(2, {kSequenceSet, "\x67\x42"}, {"\x68\xEB", "\x68\xCE"});
    sizes.samples = {units({"\x65\x01", "\x65\x02"}, 2), u16(10) + "\x41\x03",
                     units({"\x41\x04"}, 2) + "\x07"};
    sizes.chunks = {1, 2};
    write("length_size_2.mp4", h264_file(sizes));
    sizes.avcc = avcc(1, {kSequenceSet}, {"\x68\xEB"});
    sizes.samples = {units({"\x65\x01", "\x06"}, 1), units({"\x41\x02", "\x0C"}, 1)};
    sizes.fixed_size = 5;
    sizes.chunks = {1, 1};
    write("fixed_sample_size.mp4", h264_file(sizes));

    write("audio_and_hint.3gp", ftyp("3gp4") + box("moov", audio_tracks()));
    write("mp4v.mp4",
          ftyp() + box("moov", trak("vide", stsd({visual_entry("mp4v", box("esds", full(0)))}))));
    const std::string huge = u32(0xFFFFFFFF);
    write(
        "huge_counts.mp4",
        ftyp() + box("moov",
                     trak("vide", stsd({visual_entry("avc1", "")}) + box("stts", full(0) + huge) +
                                      box("stsz", full(0) + u32(0) + huge) +
                                      box("stsc", full(0) + huge) + box("stco", full(0) + huge))));
    write("damaged.mp4",
          ftyp() + box("moov", trak("vide", stsd({visual_entry("avc1", "")}) + u32(0) + "bad!") +
                                   trak("soun", u32(100) + "stco" + full(0) + u32(2))));
    std::string tracks;
    for (int i = 0; i < 10; ++i) tracks += trak("soun", stsd({}));
    write("eleven_tracks.mp4",
          ftyp() + box("moov", tracks + trak("vide", stsd({visual_entry("avc1", "")}))));
    write("version_1_boxes.mp4", wide_boxes());
    return 0;
}
