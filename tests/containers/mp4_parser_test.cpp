// The MP4/3GP parser on files built byte by byte: the structure text line
// for line, the media information, the codec decision, and the H.264
// stream it extracts, also from damaged files.
#include <gtest/gtest.h>

#include <initializer_list>
#include <random>

#include "tests/containers/mp4_builder.h"

namespace tavimor::test::mp4 {
namespace {

// A box's lines: its type at the depth, then its size, its type and the
// field lines one deeper.
std::string node(int depth, const std::string& type, uint32_t size,
                 std::initializer_list<std::string> fields = {}) {
    const std::string tabs(depth + 1, '\t');
    std::string out = tabs.substr(1) + type + "\n" + tabs + "size = " + std::to_string(size) +
                      "\n" + tabs + "type = " + type + "\n";
    for (const std::string& field : fields) out += tabs + field + "\n";
    return out;
}

const std::string kMatrix = u32(0x10000) + u32(0) + u32(0) + u32(0) + u32(0x10000) + u32(0) +
                            u32(0) + u32(0) + u32(0x40000000);

TEST(Mp4Parser, EveryVideoBoxIsWrittenAtItsDepthWithItsFields) {
    const std::string sample1 = units({"\x65\x88\x84", "\x06\x05"}), sample2 = units({"\x41\x9A"});
    auto file = [&](uint32_t offset) {
        const std::string mvhd = box("mvhd", full(0) + u32(1) + u32(2) + u32(1000) + u32(2000) +
                                                 u32(0x10000) + u16(0x100) + std::string(10, 0) +
                                                 kMatrix + std::string(24, 0) + u32(2));
        const std::string tkhd =
            box("tkhd", full(1, 3) + u64(0x100000000) + u64(2) + u32(1) + u32(0) + u64(2000) +
                            std::string(8, 0) + u16(0xFFFF) + u16(0) + u16(0) + u16(0) + kMatrix +
                            u32(176 << 16) + u32(144 << 16));
        const std::string elst = box("elst", full(1) + u32(2) + u64(1000) + u64(~0ull) + u16(1) +
                                                 u16(0) + u64(500) + u64(0) + u16(1) + u16(0));
        const std::string dref = box("dref", full(0) + u32(2) + box("url ", full(0, 1)) +
                                                 box("url ", full(0) + "http://a/b"));
        const std::string stbl =
            stsd({visual_entry("avc1", avcc(4, {kSequenceSet}, {"\x68\xEB"}) +
                                           box("btrt", u32(1) + u32(2) + u32(3)) +
                                           box("pasp", u32(1) + u32(1)))}) +
            table("stts", {u32(2) + u32(1000)}) +
            table("ctts", {u32(1) + u32(0), u32(1) + u32(2000)}) + table("stss", {u32(1)}) +
            stsz({uint32_t(sample1.size()), uint32_t(sample2.size())}) +
            table("stsc", {u32(1) + u32(2) + u32(1)}) + table("stco", {u32(offset)}) +
            box("sdtp", full(0) + "\x20\x10") + box("zzzz", table("stco", {u32(1)}));
        const std::string minf =
            box("minf", box("vmhd", full(0, 1) + u16(0) + u16(1) + u16(2) + u16(3)) +
                            box("dinf", dref) + box("stbl", stbl));
        const std::string trak =
            box("trak", tkhd + box("tref", box("cdsc", u32(2))) + box("edts", elst) +
                            box("mdia", mdhd() + hdlr("vide", "Video") + minf) + box("udta", ""));
        return ftyp() +
               box("moov",
                   mvhd + box("iods", full(0) + u32(0)) + trak + box("udta", box("titl", "x"))) +
               box("mdat", sample1 + sample2) + box("free", "");
    };
    const std::string probe = file(0);
    const Mp4Run run = run_mp4(file(probe.size() - 8 - sample1.size() - sample2.size()));
    EXPECT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_EQ(
        run.structure,
        node(0, "ftyp", 24, {"major_brand = isom", "minor_version = 512"}) + node(0, "moov", 882) +
            node(1, "mvhd", 108,
                 {"version = 0", "flags = 0", "creation_time = 1", "modification_time = 2",
                  "timescale = 1000", "duration = 2000", "rate = 10000", "volume = 100",
                  "matrix = 10000, 0, 0, 0, 10000, 0, 0, 0, 40000000, ", "next_track_ID = 2"}) +
            node(1, "iods", 16) + node(1, "trak", 733) +
            node(2, "tkhd", 104,
                 {"version = 1", "flags = 3", "creation_time = 4294967296", "modification_time = 2",
                  "track_ID = 1", "duration = 2000", "layer = -1", "alternate_group = 0",
                  "volume = 0", "width = 176", "height = 144",
                  "matrix = 10000, 0, 0, 0, 10000, 0, 0, 0, 40000000, "}) +
            node(0, "tref", 20) + node(2, "edts", 64) +
            node(3, "elst", 56,
                 {"version = 1", "entry_count = 2", "segment_duration = 1000", "media_time = -1",
                  "media_rate_integer = 1", "media_rate_fraction = 0", "segment_duration = 500",
                  "media_time = 0", "media_rate_integer = 1", "media_rate_fraction = 0"}) +
            node(2, "mdia", 529) +
            node(3, "mdhd", 32,
                 {"creation_time = 1", "modification_time = 2", "timescale = 25000",
                  "duration = 50000", "language = eng"}) +
            node(3, "hdlr", 38, {"handler_type = vide", "name = Video"}) + node(3, "minf", 451) +
            node(4, "vmhd", 20, {"graphicsmode = 0", "opcolor = 1, 2, 3, "}) + node(4, "dinf", 58) +
            node(5, "dref", 50,
                 {"entry_count = 2", "urn is not supported", "url location = http://a/b"}) +
            node(4, "stbl", 365) + node(5, "stsd", 163, {"entry_count = 1"}) +
            node(6, "avc1", 147,
                 {"data_reference_index = 1", "width = 176", "height = 144",
                  "horizresolution = 0x480000", "vertresolution = 0x480000", "frame_count = 1",
                  "compressorname = AVC Coding", "depth = 24"}) +
            node(7, "avcC", 25,
                 {"configurationVersion = 1", "AVCProfileIndication = 100",
                  "profile_compatibility = 0", "AVCLevelIndication = 31", "lengthSizeMinusOne = 3",
                  "numOfSequenceParameterSets = 1", "sequenceParameterSetLength = 4",
                  "sequenceParameterSetNALUnit = 67 64 0 1f ", "numOfPictureParameterSets = 1",
                  "pictureParameterSetLength = 2", "pictureParameterSetNALUnit = 68 eb "}) +
            node(7, "btrt", 20, {"bufferSizeDB = 1", "maxBitrate = 2", "avgBitrate = 3"}) +
            node(7, "pasp", 16) +
            node(5, "stts", 24, {"entry_count = 1", "sample_count = 2", "sample_delta = 1000"}) +
            node(5, "ctts", 32) + node(5, "stss", 20, {"entry_count = 1", "sample_number = 1"}) +
            node(5, "stsz", 28,
                 {"sample_size = 0", "sample_count = 2", "entry_size = 13", "entry_size = 6"}) +
            node(5, "stsc", 28,
                 {"entry_count = 1",
                  "first_chunk = 1, samples_per_chunk = 2, sample_description_index = 1"}) +
            node(5, "stco", 20, {"entry_count = 1", "chunkOffset = 914"}) + node(5, "sdtp", 14) +
            node(5, "zzzz", 28) + node(0, "udta", 8) + node(0, "udta", 17) + node(0, "mdat", 27) +
            node(0, "free", 8));
    EXPECT_EQ(run.messages,
              "Num of tracks: 1\nGeneral Info\n\tCodec ID: isom\n\tDuration: 2sec\nTrack #: 0\n"
              "\tType: vide\n\tLanguage: eng\n\tTitle: Video\n\twidth = 176\n\theight = 144\n"
              "\th resolution = 72 dpi\n\tv resolution = 72 dpi\n\tcompressor = AVC Coding\n"
              "\tprofile = High@L31\n\tprofile compatiblity = 0\n");
    EXPECT_EQ(run.calls, std::vector<std::string>{"1:"});
    EXPECT_EQ(run.output, bytes("\0\0\0\1\x67\x64\x00\x1F\0\0\0\1\x68\xEB\0\0\0\1\x65\x88\x84"
                                "\0\0\0\1\x06\x05\0\0\0\1\x41\x9A"));
}

const std::string kStart = bytes("\0\0\0\1");

// Units after start codes, the default parameter sets first.
std::string annex_b(const std::vector<std::string>& nals) {
    std::string out = kStart + kSequenceSet + kStart + "\x68\xEB";
    for (const std::string& nal : nals) out += kStart + nal;
    return out;
}

TEST(Mp4Parser, AudioEntriesAndTheBoxesWrittenAtDepthZero) {
    const std::string es = full(0) + u8(3) + u8(30) + u16(2) + u8(0x40) + u8(3) + "abc" + u8(4) +
                           u8(13) + u8(0x40) + u8(5 << 2 | 1) + be(10, 3) + u32(128000) +
                           u32(64000) + u8(5) + u8(2) + u16(0x1208);
    const std::string damr = box("damr", "SYNT" + u8(0) + u16(0x81FF) + u8(0) + u8(1));
    const std::string audio =
        trak("soun", stsd({audio_entry("mp4a", box("esds", es)), audio_entry("samr", damr)}));
    const std::string hint =
        box("trak", box("mdia", mdhd() + hdlr("hint", "Hint") +
                                    box("minf", box("nmhd", full(0)) +
                                                    box("stbl", stsd({box("rtp ", u32(0))})))));
    const Mp4Run run = run_mp4(ftyp("3gp4") + box("moov", audio + hint));
    EXPECT_TRUE(run.result.ok);
    const std::string not_supported = "soun and hint are not supported";
    EXPECT_NE(run.structure.find(
                  node(5, "stsd", 145, {"entry_count = 2", not_supported}) + node(6, "mp4a", 76) +
                  node(0, "esds", 40,
                       {"ESID = 2", "ObjTypInd = 40", "StreamType = 5", "Reserved = 1",
                        "BufferSizeDB = 10", "Max Bitrate = 128000", "Avg Bitrate = 64000",
                        "URL flag = 1", "Tag = 3"}) +
                  node(6, "samr", 53) +
                  node(0, "damr", 17, {"Vendor = SYNT", "FramesPerSamp = 1", "ModeSet = 33279"})),
              std::string::npos)
        << run.structure;
    EXPECT_NE(run.structure.find(node(0, "nmhd", 12) + node(4, "stbl", 36) +
                                 node(5, "stsd", 28, {"entry_count = 1", not_supported}) +
                                 node(6, "rtp ", 12)),
              std::string::npos)
        << run.structure;
    // The first entry describes the track; no movie header, no duration.
    EXPECT_EQ(run.messages,
              "\nInput stream doesn't have either mpeg4 OR H264 video stream \n"
              "Num of tracks: 2\nGeneral Info\n\tCodec ID: 3gp4\nTrack #: 0\n"
              "\tChannel number = 1\n\tSampel rate = 8.0KHz\n\tMax bit rate = 128Kbps\n"
              "\tAverage bit rate = 64Kbps\n\tBuffer size = 10\n"
              "Track #: 1\n\tType: hint\n\tLanguage: eng\n\tTitle: Hint\n");
    EXPECT_EQ(run.calls, std::vector<std::string>{"0:Unsupported codec, skipping"});
    EXPECT_FALSE(run.result.codec_found);
    EXPECT_EQ(run.output + run.raw, "");
}

TEST(Mp4Parser, OnlyListedTopLevelBoxesAreWalked) {
    H264Layout layout;
    layout.samples = {units({"\x65\x01"})};
    layout.chunks = {1};
    const std::string h264 = h264_file(layout);
    // A movie fragment box ends the walk: the movie box after it is not read.
    const std::string fragmented = ftyp() + box("moof", "") + h264.substr(ftyp().size());
    Mp4Run run = run_mp4(fragmented);
    EXPECT_EQ(run.structure, node(0, "ftyp", 24, {"major_brand = isom", "minor_version = 512"}));
    EXPECT_EQ(run.calls, std::vector<std::string>{"0:Unsupported codec, skipping"});
    EXPECT_EQ(run.output + run.raw, "");
    // Random bytes: their first "box" is none of the listed ones.
    std::string noise(1 << 20, '\0');
    std::mt19937 engine(7);
    for (char& byte : noise) byte = static_cast<char>(engine());
    run = run_mp4(noise);
    EXPECT_EQ(run.structure, "");
    EXPECT_EQ(run.calls, std::vector<std::string>{"0:Unsupported codec, skipping"});
    // The media data may come before the movie box.
    layout.media_first = true;
    run = run_mp4(h264_file(layout));
    EXPECT_TRUE(run.structure.starts_with(
        node(0, "ftyp", 24, {"major_brand = isom", "minor_version = 512"}) + node(0, "mdat", 14) +
        node(0, "moov", 311)))
        << run.structure;
    EXPECT_EQ(run.output, annex_b({"\x65\x01"}));
}

TEST(Mp4Parser, SamplesFollowTheChunkRunsAndOnlyTheFirstFileAsksForTheOutput) {
    H264Layout layout;
    std::vector<std::string> nals;
    for (int i = 0; i < 7; ++i) {
        nals.push_back("\x65" + std::string(i + 1, static_cast<char>('a' + i)));
        nals.push_back("\x06\x05");
        layout.samples.push_back(units({nals[nals.size() - 2], nals.back()}));
    }
    layout.chunks = {3, 1, 1, 2};
    layout.gap = "audio between";
    const std::string file = h264_file(layout);
    Mp4Run run = run_mp4(file);
    EXPECT_TRUE(run.result.ok && run.result.codec_found);
    EXPECT_EQ(run.calls, std::vector<std::string>{"1:"});
    EXPECT_EQ(run.output, annex_b(nals));
    EXPECT_EQ(run.raw, "");
    // A second file in the same program: no question, the stream goes into the raw output.
    run = run_mp4(file, false);
    EXPECT_TRUE(run.result.ok);
    EXPECT_FALSE(run.result.codec_found);
    EXPECT_EQ(run.result.codec_code, kFoundH264);
    EXPECT_TRUE(run.calls.empty());
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.raw, annex_b(nals));
    // Chunk runs that end before the samples do end the extraction.
    layout.chunks = {3, 1};
    EXPECT_EQ(run_mp4(h264_file(layout)).output, annex_b({nals.begin(), nals.begin() + 8}));
}

TEST(Mp4Parser, NalLengthsOfTheConfiguredSizeAndUnitsCutByTheirSample) {
    H264Layout layout;
    const std::string sets[] = {kSequenceSet, "\x67\x42", "\x68\xEB", "\x68\xCE"};
    layout.avcc = avcc(2, {sets[0], sets[1]}, {sets[2], sets[3]});
    layout.samples = {units({"\x65\x01", "\x65\x02"}, 2),
                      u16(10) + "\x41\x03",             // longer than the sample: cut
                      units({"\x41\x04"}, 2) + "\x07",  // a byte too few for a length
                      units({"\x41\x05"}, 2)};
    layout.chunks = {2, 2};
    std::string expected;
    for (const std::string& nal :
         {sets[0], sets[1], sets[2], sets[3], std::string("\x65\x01"), std::string("\x65\x02"),
          std::string("\x41\x03"), std::string("\x41\x04"), std::string("\x41\x05")})
        expected += kStart + nal;
    EXPECT_EQ(run_mp4(h264_file(layout)).output, expected);
    // One-byte lengths, every sample of the size the sample size box gives.
    layout.avcc = avcc(1, {kSequenceSet}, {"\x68\xEB"});
    layout.samples = {units({"\x65\x01", "\x06"}, 1), units({"\x41\x02", "\x0C"}, 1)};
    layout.fixed_size = 5;
    layout.chunks = {1, 1};
    EXPECT_EQ(run_mp4(h264_file(layout)).output, annex_b({"\x65\x01", "\x06", "\x41\x02", "\x0C"}));
}

TEST(Mp4Parser, TableCountsBeyondTheirBoxAreRejected) {
    const std::string huge = u32(0xFFFFFFFF);
    const std::string stbl = stsd({visual_entry("avc1", avcc(4, {kSequenceSet}, {"\x68\xEB"}))}) +
                             box("stts", full(0) + huge + u32(1) + u32(1)) +
                             box("ctts", full(0) + huge) + box("stss", full(0) + huge + u32(1)) +
                             box("stsz", full(0) + u32(0) + huge + u32(4)) +
                             box("stsc", full(0) + huge + u32(1) + u32(1) + u32(1)) +
                             box("stco", full(0) + huge + u32(0));
    const Mp4Run run = run_mp4(ftyp() + box("moov", trak("vide", stbl)) + box("mdat", "data"));
    EXPECT_TRUE(run.result.ok) << run.result.failure;
    for (const char* table : {"stts", "ctts", "stss", "stsz", "stsc", "stco"})
        EXPECT_NE(run.messages.find("Error while trying to read " + std::string(table) + "!\n"),
                  std::string::npos)
            << table;
    EXPECT_NE(run.structure.find(node(5, "stsc", 28, {"entry_count = 4294967295"}) +
                                 node(5, "stco", 20, {"entry_count = 4294967295"})),
              std::string::npos)
        << run.structure;
    EXPECT_EQ(run.output, annex_b({}));
}

TEST(Mp4Parser, DamagedAndCutFilesEndTheirWalkOrExtractionCleanly) {
    H264Layout layout;
    layout.samples = {units({"\x65\x01\x02\x03"}), units({"\x41\x04\x05\x06"})};
    layout.chunks = {2};
    const std::string file = h264_file(layout);
    // Cut in the second sample: what is there is written.
    EXPECT_EQ(run_mp4(file.substr(0, file.size() - 2)).output,
              annex_b({"\x65\x01\x02\x03", "\x41\x04"}));
    // A chunk beyond the end of the file.
    layout.gap = std::string(4, '\0');
    const std::string moved = h264_file(layout);
    EXPECT_EQ(run_mp4(moved.substr(0, moved.size() - 24)).output, annex_b({}));

    // A box of size 0 ends the walk of its parent; a box running past its
    // parent is read as far as the parent goes.
    const std::string video =
        trak("vide", stsd({visual_entry("avc1", "")}) + u32(0) + "bad!" + table("stss", {u32(1)}));
    const std::string stco = box("stco", full(0) + u32(2) + u32(7));
    const std::string audio = trak("soun", u32(100) + stco.substr(4));
    const Mp4Run run = run_mp4(ftyp() + box("moov", video + audio) + box("mdat", ""));
    EXPECT_NE(run.structure.find(node(5, "bad!", 0) + node(1, "trak", 124)), std::string::npos)
        << run.structure;
    EXPECT_EQ(run.structure.find("stss"), std::string::npos);
    EXPECT_TRUE(
        run.structure.ends_with(node(5, "stco", 100, {"entry_count = 2"}) + node(0, "mdat", 8)))
        << run.structure;
    EXPECT_NE(run.messages.find("Error while trying to read stco!\n"), std::string::npos);
    EXPECT_EQ(run.calls, std::vector<std::string>{"1:"});
    EXPECT_EQ(run.output, "");
}

TEST(Mp4Parser, BoxesBeyondFourGigabytesInASparseFile) {
    // A media data box of almost 4 GB holding nothing, then the movie box.
    const Mp4Run run = run_mp4("", true, [](const std::string& path) {
        std::ofstream file(path, std::ios::binary);
        file << ftyp() << u32(0xFFFFFFF8) << "mdat";
        file.seekp(ftyp().size() + 0xFFFFFFF8);
        file << box("moov", trak("soun", stsd({})));
    });
    EXPECT_TRUE(run.result.ok);
    EXPECT_NE(run.structure.find(node(0, "mdat", 4294967288u) + node(0, "moov", 128) +
                                 node(1, "trak", 120)),
              std::string::npos)
        << run.structure;
    EXPECT_NE(run.messages.find("Num of tracks: 1\n"), std::string::npos);
}

TEST(Mp4Parser, TenTracksAreKeptAndAnMpeg4VisualTrackIsNotExtracted) {
    std::string tracks;
    for (int i = 0; i < 10; ++i) tracks += trak("soun", stsd({}));
    Mp4Run run =
        run_mp4(ftyp() + box("moov", tracks + trak("vide", stsd({visual_entry("avc1", "")}))));
    EXPECT_TRUE(run.messages.starts_with(
        "\nInput stream doesn't have either mpeg4 OR H264 video stream \nNum of tracks: 10\n"));
    EXPECT_NE(run.structure.find(node(6, "avc1", 86, {"data_reference_index = 1"})),
              std::string::npos);
    EXPECT_EQ(run.calls, std::vector<std::string>{"0:Unsupported codec, skipping"});

    const std::string es = full(0) + u8(3) + u8(5) + u16(1) + u8(0) + u8(4) + u8(0);
    run =
        run_mp4(ftyp() + box("moov", trak("vide", stsd({visual_entry("mp4v", box("esds", es))}))) +
                box("mdat", "data"));
    EXPECT_NE(run.structure.find(node(6, "mp4v", 105) + node(7, "esds", 19, {"ESID = 1"})),
              std::string::npos)
        << run.structure;
    EXPECT_NE(run.messages.find("\tcompressor = AVC Coding\n\tprofile = Unknown@L0\n"),
              std::string::npos);
    EXPECT_EQ(run.calls, std::vector<std::string>{"0:Unsupported codec(MP4V), skipping"});
    EXPECT_FALSE(run.result.codec_found);
    EXPECT_EQ(run.output + run.raw, "");
}

}  // namespace
}  // namespace tavimor::test::mp4
