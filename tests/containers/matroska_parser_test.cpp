// The Matroska/WebM parser on files made in code: the structure text's line
// formats, track selection, the IVF and Annex B outputs, lacing, elements of
// unknown size, and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "containers/matroska/element_table.h"
#include "containers/matroska/ivf_output.h"
#include "tests/containers/matroska_builder.h"
#include "tests/containers/matroska_run.h"

namespace tavimor::test {
namespace {

using namespace tavimor::mkv;
using namespace std::string_literals;

std::string segment(const std::string& content) {
    return element(kSegment, content);
}

std::string tracks(const std::string& entries) {
    return element(kTracks, entries);
}

std::string vp8_track(uint64_t number = 1, uint64_t duration = 33333333) {
    return track_entry(number, "V_VP8", duration, 64, 48);
}

// The deepest line of a structure text, in tabs.
size_t deepest(const std::string& text) {
    size_t most = 0;
    for (const std::string& line : mkv_text_lines(text))
        most = std::max(most, line.find_first_not_of('\t'));
    return most;
}

size_t count_lines(const std::string& text, const std::string& line) {
    const std::vector<std::string> lines = mkv_text_lines(text);
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// An avcC record: NAL length size, the sequence and picture parameter sets.
std::string avc_record(int length_size, const std::vector<std::string>& sequence_sets,
                       const std::vector<std::string>& picture_sets) {
    std::string record = std::string("\x01\x64\x00\x1E", 4);
    record += static_cast<char>(0xFC | (length_size - 1));
    record += static_cast<char>(0xE0 | sequence_sets.size());
    for (const std::string& set : sequence_sets) record += big_endian(set.size(), 2) + set;
    record += static_cast<char>(picture_sets.size());
    for (const std::string& set : picture_sets) record += big_endian(set.size(), 2) + set;
    return record;
}

const std::string kStart("\0\0\0\1", 4);

class MatroskaParser : public testing::Test {
  protected:
    MatroskaFolder folder_;
};

TEST_F(MatroskaParser, TheStructureTextShowsEveryKindInItsLineFormat) {
    const std::string info =
        element(kInfo, uint_element(kTimecodeScale, 1000000) + float_element(kDuration, 2000.5) +
                           element(kDuration, big_endian(0x40490FDB, 4)) +  // 3.1415927f
                           string_element(0x7BA9, "clip"));
    const std::string entry =
        track_entry(1, "V_VP8", 33333333, 64, 48,
                    uint_element(0x73C5, 0xFFFFFFFF) + uint_element(0x6DE7, 0x100000005));
    const std::string blocks = uint_element(kTimecode, 0) + simple_block(1, 0, "abcde") +
                               element(0x6532, "??") + block_group(1, -3, "wxyz");
    const std::string file =
        ebml_header() + segment(info + element(kVoid, "vvv") + element(kCrc32, "cccc") +
                                tracks(entry) + element(kCluster, blocks));
    const MatroskaRun run = folder_.run(file);
    EXPECT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_EQ(run.structure,
              "EBML\n"
              "\tHeader\n"
              "\t\tEBML Version = 1\n"
              "\t\tDoc Type = webm\n"
              "Segment\n"
              "\tSegment Info\n"
              "\t\tTime Code Scale = 1000000\n"
              "\t\tDuration = 2000.500000\n"
              "\t\tDuration = 3.141593\n"
              "\t\tTitle = clip\n"
              "\tVoid(skipped 3 bytes)\n"
              "\tCRC32(skipped 4 bytes)\n"
              "\tSegment Tracks\n"
              "\t\tTrack Entry\n"
              "\t\t\tTrack Number = 1\n"
              "\t\t\tTrack Type = 1\n"
              "\t\t\tCodec ID = V_VP8\n"
              "\t\t\tDefault Duration = 33333333\n"
              "\t\t\tVideo\n"
              "\t\t\t\tPixel Width = 64\n"
              "\t\t\t\tPixel Height = 48\n"
              "\t\t\tTrack UID = -1\n"  // a number prints its low 32 bits, signed
              "\t\t\tMin Cache = 5\n"
              "\tSegment Cluster\n"
              "\t\tTime Mode = 0\n"
              "\t\tSimple Block\n"
              "\t\t\tTrackNumber = 1\n"
              "\t\t\tTime Code = 0\n"
              "\t\t\tFlags = 0x80\n"
              "\t\t\tData(5 bytes)\n"
              "\t\tUnsupported ID(0x    6532)\n"  // one line, and the walk goes on
              "\t\tBlock Group\n"
              "\t\t\tBlock\n"
              "\t\t\t\tTrackNumber = 1\n"
              "\t\t\t\tTime Code = -3\n"
              "\t\t\t\tFlags = 0x00\n"
              "\t\t\t\tData(4 bytes)\n");
    EXPECT_EQ(run.messages, "");
    EXPECT_TRUE(run.warnings.empty());

    // Without a structure text the track is extracted all the same.
    const MatroskaRun quiet = folder_.run(file, false);
    EXPECT_EQ(quiet.structure, "");
    EXPECT_EQ(quiet.output, run.output);
}

TEST_F(MatroskaParser, AVp8TrackBecomesAnIvfStream) {
    const std::string frames[] = {frame_bytes(300, 1), frame_bytes(7, 2), frame_bytes(0, 3)};
    const std::string file =
        ebml_header() +
        segment(tracks(track_entry(3, "V_VP8", 33333333, 640, 360)) +
                cluster(0, simple_block(3, 0, frames[0]) + simple_block(3, 33, frames[1])) +
                cluster(67, block_group(3, 0, frames[2])));
    const MatroskaRun run = folder_.run(file);
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_TRUE(run.result.codec_found);
    EXPECT_EQ(run.result.codec_code, kFoundVp8);
    EXPECT_EQ(run.result.output_path, folder_.path("video.out"));
    EXPECT_EQ(run.asked, std::vector<int>{kFoundVp8});

    const std::string& ivf = run.output;
    ASSERT_GE(ivf.size(), 32u);
    EXPECT_EQ(ivf.substr(0, 4), "DKIF");
    EXPECT_EQ(ivf_le16(ivf, 4), 0);   // version
    EXPECT_EQ(ivf_le16(ivf, 6), 32);  // header size
    EXPECT_EQ(ivf.substr(8, 4), "VP80");
    EXPECT_EQ(ivf_le16(ivf, 12), 640);
    EXPECT_EQ(ivf_le16(ivf, 14), 360);
    EXPECT_EQ(ivf_le32(ivf, 16), 30u);  // rate / scale: 30 frames a second
    EXPECT_EQ(ivf_le32(ivf, 20), 1u);
    EXPECT_EQ(ivf_le32(ivf, 24), 3u);  // frames
    EXPECT_EQ(ivf_le32(ivf, 28), 0u);
    const std::vector<IvfFrame> written = ivf_frames(ivf);
    ASSERT_EQ(written.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(written[i].size, frames[i].size());
        EXPECT_EQ(written[i].timestamp, 0u);
        EXPECT_EQ(written[i].bytes, frames[i]);
    }
    EXPECT_EQ(ivf.size(), 32 + 3 * 12 + 307u);
}

TEST_F(MatroskaParser, TheFrameRateComesFromTheDurationOrTheFramesTimes) {
    struct Case {
        uint64_t default_duration;
        uint64_t timecode_scale;  // 0: no Time Code Scale element (milliseconds)
        std::vector<uint64_t> times;
        uint32_t rate, scale;
    };
    const Case cases[] = {
        {33366667, 0, {0, 33}, 30000, 1001},
        {0, 0, {0, 33, 67, 100, 133, 167, 200, 233, 267, 300}, 30, 1},
        {0, 100000, {0, 400, 800}, 25, 1},  // units of 0.1 ms
        {0, 0, {0, 80}, 25, 2},             // 12.5 frames a second
        {0, 0, {500}, 30, 1},               // one frame tells nothing: 30
    };
    for (const Case& c : cases) {
        std::string info;
        if (c.timecode_scale) info = element(kInfo, uint_element(kTimecodeScale, c.timecode_scale));
        std::string clusters;
        for (uint64_t time : c.times) clusters += cluster(time, simple_block(1, 0, "f"));
        const MatroskaRun run = folder_.run(
            ebml_header() +
            segment(info + tracks(track_entry(1, "V_VP8", c.default_duration, 8, 8)) + clusters));
        ASSERT_EQ(run.output.size(), 32 + c.times.size() * 13);
        EXPECT_EQ(ivf_le32(run.output, 16), c.rate) << c.default_duration << " " << c.times.size();
        EXPECT_EQ(ivf_le32(run.output, 20), c.scale) << c.default_duration << " " << c.times.size();
    }
    EXPECT_EQ(matroska::frame_rate_of(3e12).scale, 3000u);  // a frame an hour
}

TEST_F(MatroskaParser, AnAudioTrackBeforeTheVideoTrackIsSkipped) {
    const std::string audio = track_entry(1, "A_OPUS") + track_entry(2, "A_PCM/INT/LIT");
    const std::string file =
        ebml_header() +
        segment(
            // Blocks before any codec is known are skipped too.
            cluster(0, simple_block(3, 0, "early")) + tracks(audio + vp8_track(3)) +
            cluster(0, simple_block(1, 0, "opus-1") + simple_block(3, 0, frame_bytes(20, 1)) +
                           simple_block(2, 5, "pcm") + block_group(1, 9, "opus-2")) +
            cluster(33, simple_block(3, 0, frame_bytes(30, 2)) + simple_block(1, 2, "opus-3")));
    const MatroskaRun run = folder_.run(file);
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    const std::vector<IvfFrame> frames = ivf_frames(run.output);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes, frame_bytes(20, 1));
    EXPECT_EQ(frames[1].bytes, frame_bytes(30, 2));
    EXPECT_EQ(count_lines(run.structure, "\t\t\tData(20 bytes)"), 1u);
    EXPECT_EQ(count_lines(run.structure, "\t\t\tData(30 bytes)"), 1u);
    EXPECT_EQ(count_lines(run.structure, "\t\t\tSkipped 5 bytes"), 1u);    // "early"
    EXPECT_EQ(count_lines(run.structure, "\t\t\tSkipped 6 bytes"), 2u);    // opus-1, opus-3
    EXPECT_EQ(count_lines(run.structure, "\t\t\tSkipped 3 bytes"), 1u);    // pcm
    EXPECT_EQ(count_lines(run.structure, "\t\t\t\tSkipped 6 bytes"), 1u);  // opus-2, in a group
}

TEST_F(MatroskaParser, LaterVideoTracksReplaceEarlierOnesAndOtherCodecsChangeNothing) {
    const std::string file =
        ebml_header() +
        segment(tracks(vp8_track(1) + track_entry(2, "V_VP9", 0, 64, 48) + vp8_track(3)) +
                cluster(0, simple_block(1, 0, "one") + simple_block(2, 0, "two") +
                               simple_block(3, 0, "three")));
    const MatroskaRun run = folder_.run(file);
    ASSERT_TRUE(run.result.ok);
    EXPECT_EQ(run.asked, (std::vector<int>{kFoundVp8, kFoundVp8}));
    const std::vector<IvfFrame> frames = ivf_frames(run.output);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes, "three");

    // No video track the parser knows: nothing is asked, the run succeeds.
    const MatroskaRun none =
        folder_.run(ebml_header() + segment(tracks(track_entry(1, "V_VP9", 0, 64, 48)) +
                                            cluster(0, simple_block(1, 0, "x"))));
    EXPECT_TRUE(none.result.ok);
    EXPECT_FALSE(none.result.codec_found);
    EXPECT_TRUE(none.asked.empty());

    // Declining the output ends the run, cancelled.
    const MatroskaRun declined = folder_.run(file, true, true);
    EXPECT_TRUE(declined.result.cancelled);
    EXPECT_FALSE(declined.result.ok);
    EXPECT_EQ(declined.asked.size(), 1u);
    EXPECT_EQ(declined.structure.find("Simple Block"), std::string::npos);
}

TEST_F(MatroskaParser, AnH264TrackBecomesAnAnnexBStream) {
    const std::string sps = "\x67\x64\x00\x1E\xAC"s, pps = "\x68\xEE\x3C\x80"s;
    const std::string idr = "\x65\x88\x84\x00\x21"s, slice = "\x41\x9A\x02"s;
    const std::string record = avc_record(4, {sps}, {pps});
    const std::string units = big_endian(idr.size(), 4) + idr + big_endian(2, 4) + "\x06\x05";
    const std::string expected =
        kStart + sps + kStart + pps + kStart + idr + kStart + "\x06\x05" + kStart + slice;
    const std::string audio = track_entry(2, "A_AAC", 0, 0, 0, element(kCodecPrivate, "\x12\x10"));
    const std::string clusters =
        cluster(0, simple_block(1, 0, units) + simple_block(2, 0, "aac") +
                       block_group(1, 40, big_endian(slice.size(), 4) + slice));
    // The usual order: number, codec, codec private.
    const MatroskaRun run = folder_.run(
        ebml_header() + segment(tracks(track_entry(1, "V_MPEG4/ISO/AVC", 40000000, 176, 144,
                                                   element(kCodecPrivate, record)) +
                                       audio) +
                                clusters));
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_EQ(run.asked, std::vector<int>{kFoundH264});
    EXPECT_EQ(run.output, expected);
    EXPECT_EQ(count_lines(run.structure, "\t\t\tCodec Private(parsed " +
                                             std::to_string(record.size()) + " bytes)"),
              1u);
    EXPECT_EQ(count_lines(run.structure, "\t\t\tCodec Private(skipped 2 bytes)"), 1u);

    // Elements of a track entry come in any order: the codec private before
    // the codec, the track number after it.
    const std::string reordered = element(
        kTrackEntry, element(kCodecPrivate, record) + string_element(kCodecId, "V_MPEG4/ISO/AVC") +
                         uint_element(kTrackNumber, 1));
    const MatroskaRun other =
        folder_.run(ebml_header() + segment(tracks(audio + reordered) + clusters));
    EXPECT_EQ(other.output, expected);

    // Two-byte NAL lengths, several sets, and a unit running past its block.
    const std::string two = avc_record(2, {sps, "\x67\x42"}, {pps, "\x68\x01"});
    const std::string broken = big_endian(1, 2) + "\x09" + big_endian(50, 2) + "short";
    const MatroskaRun small = folder_.run(
        ebml_header() +
        segment(tracks(track_entry(1, "V_MPEG4/ISO/AVC", 0, 8, 8, element(kCodecPrivate, two))) +
                cluster(0, simple_block(1, 0, big_endian(3, 2) + slice + broken))));
    EXPECT_EQ(small.output, kStart + sps + kStart + "\x67\x42" + kStart + pps + kStart +
                                "\x68\x01" + kStart + slice + kStart + "\x09");
    EXPECT_NE(small.messages.find("NAL unit of 50 bytes"), std::string::npos);
}

TEST_F(MatroskaParser, ALacedBlockIsOneFrameHoldingAllItsFrames) {
    const std::string a = "AAAA", b = "BBBBBB", c = "CC";
    // Lace count is frames - 1; the sizes of all but the last frame.
    const std::string xiph = std::string("\x02", 1) + "\x04\x06" + a + b + c;
    const std::string ebml = std::string("\x02", 1) + vint(4) + vint((6 - 4) + 63) + a + b + c;
    const std::string fixed = std::string("\x02", 1) + "XXXYYYZZZ";
    std::string long_xiph = std::string("\x01", 1) + "\xFF\x05";  // a first frame of 260 bytes
    long_xiph += std::string(260, 'L') + "tail";
    const std::string file =
        ebml_header() +
        segment(tracks(vp8_track()) +
                cluster(0, simple_block(1, 0, xiph, 0x82) + simple_block(1, 1, ebml, 0x86) +
                               simple_block(1, 2, fixed, 0x84) +
                               simple_block(1, 3, long_xiph, 0x82)));
    const MatroskaRun run = folder_.run(file);
    const std::vector<IvfFrame> frames = ivf_frames(run.output);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].bytes, a + b + c);
    EXPECT_EQ(frames[1].bytes, a + b + c);
    EXPECT_EQ(frames[2].bytes, "XXXYYYZZZ");
    EXPECT_EQ(frames[3].bytes, std::string(260, 'L') + "tail");
    EXPECT_EQ(count_lines(run.structure, "\t\t\tData(12 bytes)"), 2u);

    // Lace sizes that run out of the block end it with a message.
    const MatroskaRun cut =
        folder_.run(ebml_header() +
                    segment(tracks(vp8_track()) +
                            cluster(0, simple_block(1, 0, std::string("\x03\xFF\xFF", 3), 0x82) +
                                           simple_block(1, 0, "next"))));
    EXPECT_NE(cut.messages.find("error in reading element size@"), std::string::npos);
    ASSERT_EQ(ivf_frames(cut.output).size(), 1u);
    EXPECT_EQ(ivf_frames(cut.output)[0].bytes, "next");
}

TEST_F(MatroskaParser, ALiveRecordingOfUnknownSizesParsesFlat) {
    // As live encoders write: Segment and Clusters of unknown size, Cues last.
    std::string file = ebml_header() + unknown_size(kSegment) + tracks(vp8_track());
    constexpr int kClusters = 5000;
    for (int i = 0; i < kClusters; ++i) {
        file += unknown_size(kCluster) + uint_element(kTimecode, static_cast<uint64_t>(i) * 33) +
                simple_block(1, 0, frame_bytes(10, i));
        if (i % 1000 == 0) file += element(kVoid, "pad");  // Void stands in a cluster too
    }
    file += element(kCues, element(kCuePoint, uint_element(kCueTime, 0)));
    const MatroskaRun run = folder_.run(file);
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    const std::vector<IvfFrame> frames = ivf_frames(run.output);
    ASSERT_EQ(frames.size(), static_cast<size_t>(kClusters));
    EXPECT_EQ(frames[4321].bytes, frame_bytes(10, 4321));
    EXPECT_EQ(ivf_le32(run.output, 24), static_cast<uint32_t>(kClusters));
    EXPECT_EQ(ivf_le32(run.output, 16), 30u);
    EXPECT_EQ(deepest(run.structure), 4u);  // a pixel width, in Video
    EXPECT_EQ(count_lines(run.structure, "\tSegment Cluster"), static_cast<size_t>(kClusters));
    EXPECT_EQ(count_lines(run.structure, "\tSegment Cues"), 1u);
    EXPECT_EQ(count_lines(run.structure, "\t\tVoid(skipped 3 bytes)"), 5u);
    EXPECT_TRUE(run.warnings.empty());

    // A known-size Segment around clusters of unknown size; one ends at Tags.
    const MatroskaRun mixed =
        folder_.run(ebml_header() +
                    segment(tracks(vp8_track()) + unknown_size(kCluster) + simple_block(1, 0, "a") +
                            unknown_size(kCluster) + simple_block(1, 0, "b") + element(kTags, "")));
    EXPECT_EQ(ivf_frames(mixed.output).size(), 2u);
    EXPECT_EQ(count_lines(mixed.structure, "\tSegment Tags"), 1u);
}

TEST_F(MatroskaParser, AFileCutInAClusterKeepsEverythingBeforeTheCut) {
    const std::string whole =
        ebml_header() + segment(tracks(vp8_track()) +
                                cluster(0, simple_block(1, 0, frame_bytes(100, 0)) +
                                               simple_block(1, 33, frame_bytes(100, 1))) +
                                cluster(67, simple_block(1, 0, frame_bytes(100, 2)) +
                                                simple_block(1, 33, frame_bytes(100, 3))));
    // Cut in the middle of the third frame's data, then inside its header,
    // then inside the cluster's time code's size.
    const size_t third = whole.find(frame_bytes(100, 2));
    const size_t second_cluster =
        whole.find(id_bytes(kCluster), whole.find(id_bytes(kCluster)) + 1);
    const size_t time_code = whole.find('\xE7', second_cluster);
    for (size_t cut : {third + 50, third - 3, time_code + 1, time_code + 2}) {
        const MatroskaRun run = folder_.run(whole.substr(0, cut));
        ASSERT_TRUE(run.result.ok) << cut << ": " << run.result.failure;
        const std::vector<IvfFrame> frames = ivf_frames(run.output);
        ASSERT_EQ(frames.size(), 2u) << cut;
        EXPECT_EQ(frames[1].bytes, frame_bytes(100, 1));
        EXPECT_EQ(ivf_le32(run.output, 24), 2u);
        ASSERT_EQ(run.warnings.size(), 1u) << cut;
        EXPECT_EQ(
            run.warnings[0].find("the file is cut off: it ends at byte " + std::to_string(cut)), 0u)
            << run.warnings[0];
        // The cut shows in the segment, the cluster and the block: one problem.
        EXPECT_EQ(run.warnings[0].find("more problems"), std::string::npos) << run.warnings[0];
        EXPECT_NE(run.messages, "");
    }
    // The cut inside a frame names the frame's element.
    const MatroskaRun run = folder_.run(whole.substr(0, third + 50));
    EXPECT_NE(run.messages.find("end of file inside element 0xa3"), std::string::npos)
        << run.messages;
    // Cut inside an identifier: the reader's own message.
    const MatroskaRun id_cut =
        folder_.run(ebml_header() + unknown_size(kSegment) + tracks(vp8_track()) + "\x1F\x43");
    EXPECT_NE(id_cut.messages.find("End of pipe in read num extended\nID read error - res -2\n"),
              std::string::npos);
    EXPECT_EQ(id_cut.warnings.size(), 1u);
}

TEST_F(MatroskaParser, DamagedSizesEndTheirHolderAndTheWalkGoesOn) {
    const std::string tail_cluster = cluster(100, simple_block(1, 0, "after"));
    // A block larger than its cluster: the rest of that cluster is passed over.
    std::string bad = element(kCluster, uint_element(kTimecode, 0) + simple_block(1, 0, "good") +
                                            id_bytes(kSimpleBlock) + vint(5000) + "xxxx" +
                                            simple_block(1, 0, "lost"));
    MatroskaRun run =
        folder_.run(ebml_header() + segment(tracks(vp8_track()) + bad + tail_cluster));
    ASSERT_TRUE(run.result.ok);
    std::vector<IvfFrame> frames = ivf_frames(run.output);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes, "good");
    EXPECT_EQ(frames[1].bytes, "after");
    ASSERT_EQ(run.warnings.size(), 1u);
    EXPECT_EQ(run.warnings[0].find("the file is damaged at byte "), 0u) << run.warnings[0];
    EXPECT_NE(run.messages.find("its size 5000 runs past the element holding it"),
              std::string::npos);

    // An identifier without a marker bit: the reader's message, and the next
    // cluster is read.
    bad = element(kCluster, std::string("\x00\x00\x00", 3) + simple_block(1, 0, "lost"));
    run = folder_.run(ebml_header() + segment(tracks(vp8_track()) + bad + tail_cluster));
    EXPECT_NE(run.messages.find("Possible bitstream corruption [read ebml num: 5 max: 4 FilePos: "),
              std::string::npos)
        << run.messages;
    EXPECT_NE(run.messages.find("ID read error - res -3\nerror in reading id @ "),
              std::string::npos);
    ASSERT_EQ(ivf_frames(run.output).size(), 1u);
    EXPECT_EQ(ivf_frames(run.output)[0].bytes, "after");

    // Numbers of impossible sizes print 0 and the walk stays in step.
    const std::string info = element(
        kInfo, element(kTimecodeScale, std::string(9, '\x01')) + element(0x4287, "") +
                   element(kDuration, "\x01\x02\x03") + string_element(0x7BA9, "still here"));
    run = folder_.run(ebml_header() + segment(info));
    EXPECT_EQ(run.structure.substr(run.structure.find("\tSegment Info")),
              "\tSegment Info\n"
              "\t\tTime Code Scale = 0\n"
              "\t\tDoc Type Version = 0\n"
              "\t\tDuration = 0.000000\n"
              "\t\tTitle = still here\n");

    // Blocks too short for their own header.
    run = folder_.run(
        ebml_header() +
        segment(tracks(vp8_track()) +
                cluster(0, element(kSimpleBlock, "\x81\x00"s) + element(kSimpleBlock, "") +
                               element(kSimpleBlock, std::string("\x81\x00\x00", 3)) +
                               simple_block(1, 0, "fine"))));
    EXPECT_NE(run.messages.find("error in reading element timecode@"), std::string::npos);
    EXPECT_NE(run.messages.find("error in reading element tracknum @"), std::string::npos);
    EXPECT_NE(run.messages.find("error in reading element flags@"), std::string::npos);
    ASSERT_EQ(ivf_frames(run.output).size(), 1u);
    EXPECT_EQ(ivf_frames(run.output)[0].bytes, "fine");
}

TEST_F(MatroskaParser, LongStringsAndCodecPrivatesFitNoMatterTheirSize) {
    const std::string title(10000, 'T');
    const std::string big_sps = "\x67" + std::string(6000, 'S');
    const std::string file =
        ebml_header() +
        segment(element(kInfo, string_element(0x7BA9, title) + string_element(0x5741, "app")) +
                tracks(track_entry(1, "V_MPEG4/ISO/AVC", 0, 8, 8,
                                   element(kCodecPrivate, avc_record(4, {big_sps}, {"\x68"})))) +
                cluster(0, simple_block(1, 0, big_endian(1, 4) + "\x65")));
    const MatroskaRun run = folder_.run(file);
    EXPECT_EQ(count_lines(run.structure, "\t\tTitle = " + std::string(4095, 'T')), 1u);
    EXPECT_EQ(count_lines(run.structure, "\t\tWriting App = app"), 1u);
    EXPECT_EQ(run.output, kStart + big_sps + kStart + "\x68" + kStart + "\x65");
}

TEST_F(MatroskaParser, DeepNestingStaysBounded) {
    // Ten thousand track entries one inside the other, each of known size.
    std::string nested = vp8_track();
    for (int i = 0; i < 10000; ++i) nested = element(kTrackEntry, nested);
    MatroskaRun run = folder_.run(ebml_header() + segment(tracks(nested)));
    ASSERT_TRUE(run.result.ok);
    EXPECT_LE(deepest(run.structure), 66u);
    ASSERT_EQ(run.warnings.size(), 1u);
    EXPECT_NE(run.warnings[0].find("more than 64 levels deep"), std::string::npos);

    // The same of unknown size: each ends where the next begins.
    std::string flat = ebml_header() + segment(tracks([] {
                           std::string entries;
                           for (int i = 0; i < 10000; ++i) entries += unknown_size(kTrackEntry);
                           return entries + vp8_track();
                       }()));
    run = folder_.run(flat);
    EXPECT_EQ(deepest(run.structure), 4u);
    EXPECT_EQ(run.asked, std::vector<int>{kFoundVp8});
}

TEST(MatroskaElements, TheTableAndWhereElementsStand) {
    using namespace tavimor::matroska;
    const auto table = element_table();
    EXPECT_EQ(table.size(), 96u);
    const ElementIndex index = build_element_index();
    EXPECT_EQ(index.size(), 95u);  // one identifier stands twice
    EXPECT_FALSE(may_stand_inside(kCluster, kCluster));
    EXPECT_FALSE(may_stand_inside(kCues, kCluster));
    EXPECT_FALSE(may_stand_inside(kEbml, kSegment));
    EXPECT_TRUE(may_stand_inside(kBlock, kCluster));
    EXPECT_TRUE(may_stand_inside(kPixelWidth, kSegment));
    EXPECT_TRUE(may_stand_inside(kVoid, kBlockGroup));
    EXPECT_TRUE(may_stand_inside(0x80, 0xB6));  // chapter display in a nested atom
    EXPECT_TRUE(may_stand_inside(0xB6, 0xB6));
    EXPECT_TRUE(may_stand_inside(0x7373, kCluster));  // unknown identifiers belong
}

}  // namespace
}  // namespace tavimor::test
