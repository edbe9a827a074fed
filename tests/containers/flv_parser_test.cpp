// The FLV/F4V parser on files made in code: the structure text line for
// line, the Annex B stream, the numbering and the output question that last
// for the whole process, other codecs, and tags whose sizes and lengths do
// not hold together.
#include <gtest/gtest.h>

#include <random>

#include "containers/flv/flv_format.h"
#include "tests/containers/flv_builder.h"
#include "tests/containers/flv_run.h"

namespace tavimor::test {
namespace {

using namespace flv_build;

const std::string kSps("\x67\x64\x00\x1E\xAC", 5);
const std::string kPps("\x68\xEE\x3C\x80", 4);

// The lines every tag starts with.
std::string tag_lines(int64_t number, uint32_t previous, int type, uint32_t size,
                      uint32_t timestamp = 0, int extended = 0, uint32_t stream = 0) {
    return "tag " + std::to_string(number) + "\n\tPreviousTagSize = " + std::to_string(previous) +
           "\n\tTagType = " + std::to_string(type) + "\n\tDataSize = " + std::to_string(size) +
           "\n\tTimestamp = " + std::to_string(timestamp) +
           "\n\tTimestampExtended = " + std::to_string(extended) +
           "\n\tStreamID = " + std::to_string(stream) + "\n";
}

// The lines of an AVC video tag of the given packet type.
std::string avc_lines(int packet_type, const std::string& kind, uint32_t composition_time,
                      int frame_type = 1) {
    return "\tVideo Data\n\t\tFrameType = " + std::to_string(frame_type) +
           "\n\t\tCodecIC = 7\n\t\tAVCVIDEOPACKET\n\t\t\tAVCPacketType = " +
           std::to_string(packet_type) + "\n" + (kind.empty() ? "" : "\t\t\t\t" + kind + "\n") +
           "\t\t\tCompositionTime = " + std::to_string(composition_time) + "\n";
}

std::string sequence_header(int nal_length_size) {
    return avc_data(0, 0, avc_record(nal_length_size, {kSps}, {kPps}));
}

class FlvParser : public testing::Test {
  protected:
    // Every test starts as the first FLV file of the process.
    void SetUp() override { flv::set_flv_session({}); }
    void TearDown() override { flv::set_flv_session({}); }

    // Runs the bytes as the first FLV file of the process.
    FlvRun fresh(const std::string& bytes, bool with_structure = true,
                 Answer answer = Answer::kOutput) const {
        flv::set_flv_session({});
        return folder_.run(bytes, with_structure, answer);
    }

    FlvFolder folder_;
};

TEST_F(FlvParser, AudioAndVideoFileGivesItsHeaderEveryTagAndTheAnnexBStream) {
    const std::string unit1("\x65\x88\x84\x00", 4), unit2("\x41\x9A", 2);
    const std::string bytes =
        file_header() + tags({script_tag("abc"), video_tag(sequence_header(4)),
                              Tag{8, "\xAF\x01", 0x123456, 0, 0xABCDEF},
                              Tag{9, avc_data(1, 40, length_prefixed(4, {unit1, unit2})), 40, 1},
                              video_tag(avc_data(2, 0, "", 2), 80)});
    const FlvRun run = folder_.run(bytes);
    EXPECT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_TRUE(run.result.codec_found);
    EXPECT_EQ(run.result.codec_code, kFoundH264);
    EXPECT_EQ(run.result.output_path, folder_.path("video.264"));
    EXPECT_EQ(run.asked, std::vector<int>{kFoundH264});
    EXPECT_TRUE(run.warnings.empty());
    EXPECT_EQ(run.structure,
              "FLV header\n"
              "\tSignature   -> FLV\n"
              "\tVersion = 1\n"
              "\tTypeFlagsReserved = 0\n"
              "\tTypeFlagsAudio = 1\n"
              "\tTypeFlagsReserved = 0\n"
              "\tTypeFlagsVideo = 1\n"
              "\tDataOffset = 9\n"
              "tag 0\n"
              "\tPreviousTagSize = 0\n"
              "\tTagType = 18\n"
              "\tDataSize = 3\n"
              "\tTimestamp = 0\n"
              "\tTimestampExtended = 0\n"
              "\tStreamID = 0\n"
              "\tMeta Data\n"
              "tag 1\n"
              "\tPreviousTagSize = 14\n"
              "\tTagType = 9\n"
              "\tDataSize = 25\n"
              "\tTimestamp = 0\n"
              "\tTimestampExtended = 0\n"
              "\tStreamID = 0\n"
              "\tVideo Data\n"
              "\t\tFrameType = 1\n"
              "\t\tCodecIC = 7\n"
              "\t\tAVCVIDEOPACKET\n"
              "\t\t\tAVCPacketType = 0\n"
              "\t\t\t\tseqence header\n"
              "\t\t\tCompositionTime = 0\n"
              "tag 2\n"
              "\tPreviousTagSize = 36\n"
              "\tTagType = 8\n"
              "\tDataSize = 2\n"
              "\tTimestamp = 1193046\n"
              "\tTimestampExtended = 0\n"
              "\tStreamID = 11259375\n"
              "\tAudio Data\n"
              "tag 3\n"
              "\tPreviousTagSize = 13\n"
              "\tTagType = 9\n"
              "\tDataSize = 19\n"
              "\tTimestamp = 40\n"
              "\tTimestampExtended = 1\n"
              "\tStreamID = 0\n"
              "\tVideo Data\n"
              "\t\tFrameType = 1\n"
              "\t\tCodecIC = 7\n"
              "\t\tAVCVIDEOPACKET\n"
              "\t\t\tAVCPacketType = 1\n"
              "\t\t\t\tNALU\n"
              "\t\t\tCompositionTime = 40\n"
              "tag 4\n"
              "\tPreviousTagSize = 30\n"
              "\tTagType = 9\n"
              "\tDataSize = 5\n"
              "\tTimestamp = 80\n"
              "\tTimestampExtended = 0\n"
              "\tStreamID = 0\n"
              "\tVideo Data\n"
              "\t\tFrameType = 2\n"
              "\t\tCodecIC = 7\n"
              "\t\tAVCVIDEOPACKET\n"
              "\t\t\tAVCPacketType = 2\n"
              "\t\t\t\tend of sequence\n"
              "\t\t\tCompositionTime = 0\n");
    const std::string stream = annex_b({kSps, kPps, unit1, unit2});
    EXPECT_EQ(run.output, stream);
    EXPECT_TRUE(run.raw.empty()) << "nothing comes before the codec is found";

    // Without the structure text the same stream comes out.
    const FlvRun quiet = fresh(bytes, false);
    EXPECT_TRUE(quiet.result.ok);
    EXPECT_FALSE(std::filesystem::exists(folder_.path("structure.txt")));
    EXPECT_EQ(quiet.output, stream);
}

TEST_F(FlvParser, OnlyAFileWithAudioAndVideoShowsItsHeader) {
    const std::string one_tag = tags({script_tag("m")});
    const std::string script_lines = tag_lines(0, 0, 18, 1) + "\tMeta Data\n";
    const auto structure = [&](const std::string& bytes) {
        const FlvRun run = fresh(bytes);
        EXPECT_TRUE(run.result.ok) << run.result.failure;
        EXPECT_FALSE(run.result.codec_found);
        return run.structure;
    };
    // Video only, audio only: no header block, the tags from offset 9 all the same.
    EXPECT_EQ(structure(file_header(1) + one_tag), script_lines);
    EXPECT_EQ(structure(file_header(4) + one_tag), script_lines);
    // Even a data offset further on is not followed then.
    EXPECT_EQ(structure(file_header(1, 13) + one_tag), script_lines);
    // With both, the tags start at the data offset.
    const auto header_lines = [](const std::string& version, const std::string& offset) {
        return "FLV header\n\tSignature   -> FLV\n\tVersion = " + version +
               "\n\tTypeFlagsReserved = 0\n\tTypeFlagsAudio = 1\n\tTypeFlagsReserved = 0\n"
               "\tTypeFlagsVideo = 1\n\tDataOffset = " +
               offset + "\n";
    };
    EXPECT_EQ(structure(file_header(5, 13, 2) + "????" + one_tag),
              header_lines("2", "13") + script_lines);
    // An offset past the end leaves the header alone; a whole 32-bit one is shown as such.
    EXPECT_EQ(structure(file_header(5, 0xFFFFFFFF, 255) + one_tag),
              header_lines("255", "4294967295"));
    // A wrong signature: nothing for the header, the tags read from offset 9.
    EXPECT_EQ(structure(std::string("FLX\x01\x05\0\0\0\x09", 9) + one_tag), script_lines);
    EXPECT_EQ(structure(std::string("FLV\x01\x05", 5)), "");
    EXPECT_EQ(structure(""), "");
}

TEST_F(FlvParser, TagNumbersAndTheOutputQuestionLastForTheWholeProcess) {
    const std::string unit = nal_unit(20, 1);
    const std::string bytes =
        file_header() + tags({video_tag(sequence_header(4)),
                              video_tag(avc_data(1, 0, length_prefixed(4, {unit})))});
    const FlvRun first = folder_.run(bytes);
    EXPECT_EQ(first.asked, std::vector<int>{kFoundH264});
    EXPECT_EQ(first.output, annex_b({kSps, kPps, unit}));
    EXPECT_NE(first.structure.find("tag 1\n"), std::string::npos);
    EXPECT_EQ(flv::flv_session().next_tag, 2);
    EXPECT_TRUE(flv::flv_session().output_asked);

    // The next file of the process numbers on and is not asked about: its
    // video goes into the run's raw output.
    const FlvRun second = folder_.run(bytes);
    EXPECT_TRUE(second.result.ok);
    EXPECT_TRUE(second.asked.empty());
    EXPECT_FALSE(second.result.codec_found);
    EXPECT_EQ(second.result.output_path, folder_.path("raw.bin"));
    EXPECT_FALSE(std::filesystem::exists(folder_.path("video.264")));
    EXPECT_EQ(second.raw, first.output);
    EXPECT_EQ(second.structure.find("tag 0\n"), std::string::npos);
    EXPECT_EQ(second.structure.find("tag "), second.structure.find("tag 2\n"));
    EXPECT_NE(second.structure.find("tag 3\n"), std::string::npos);

    // Without a structure text the tags are counted all the same.
    folder_.run(bytes, false);
    EXPECT_EQ(flv::flv_session().next_tag, 6);
}

TEST_F(FlvParser, OtherVideoCodecsAreListedAndWarnedAboutOncePerRun) {
    const std::string vp6 = video_data(1, 4, std::string("\x00\x11\x22\x33", 4));
    const std::string bytes = file_header(1) + tags({video_tag(vp6), video_tag(vp6, 67),
                                                     video_tag(video_data(2, 2, "\x44"), 133)});
    const std::string not_avc =
        "\tVideo Data\n\t\tFrameType = 1\n\t\tCodecIC = 4\n"
        "\t\tVIDEOPACKET(Not H.264/AVC)\n";
    for (int run_number = 0; run_number < 2; ++run_number) {
        const FlvRun run = folder_.run(bytes);
        EXPECT_TRUE(run.result.ok);
        EXPECT_FALSE(run.result.codec_found);
        EXPECT_TRUE(run.asked.empty());
        EXPECT_EQ(run.warnings, std::vector<std::string>{"Unsupported codec, skipping"});
        EXPECT_TRUE(run.raw.empty());
        const int64_t first = run_number * 3;
        EXPECT_EQ(run.structure, tag_lines(first, 0, 9, 5) + not_avc +
                                     tag_lines(first + 1, 16, 9, 5, 67) + not_avc +
                                     tag_lines(first + 2, 16, 9, 2, 133) +
                                     "\tVideo Data\n\t\tFrameType = 2\n\t\tCodecIC = 2\n"
                                     "\t\tVIDEOPACKET(Not H.264/AVC)\n");
    }
}

TEST_F(FlvParser, EveryTagEndsWhereItsDataSizeSays) {
    // Data that would read as a tag header, were it not skipped.
    const std::string decoy = std::string("\0\0\0\0", 4) + tag_bytes(script_tag("decoy"));
    const std::string unit = nal_unit(9, 2);
    const std::string bytes =
        file_header(1) + tags({
                             audio_tag(""),                          // no audio header byte
                             video_tag(""),                          // no frame byte
                             video_tag(std::string("\x17\x01", 2)),  // AVC, packet cut short
                             Tag{15, decoy},                         // unknown tag type
                             video_tag(avc_data(3, 5, decoy)),       // unknown packet type
                             video_tag(avc_data(1, 0, length_prefixed(4, {unit}))),
                         });
    const FlvRun run = folder_.run(bytes);
    EXPECT_TRUE(run.result.ok);
    const std::string avc_start =
        "\tVideo Data\n\t\tFrameType = 1\n\t\tCodecIC = 7\n"
        "\t\tAVCVIDEOPACKET\n";
    EXPECT_EQ(run.structure, tag_lines(0, 0, 8, 0) + "\tAudio Data\n" + tag_lines(1, 11, 9, 0) +
                                 "\tVideo Data\n" + tag_lines(2, 11, 9, 2) + avc_start +
                                 tag_lines(3, 13, 15, 20) + tag_lines(4, 31, 9, 25) + avc_start +
                                 "\t\t\tAVCPacketType = 3\n\t\t\tCompositionTime = 5\n" +
                                 tag_lines(5, 36, 9, 18) + avc_lines(1, "NALU", 0));
    EXPECT_EQ(run.output, annex_b({unit}));
}

TEST_F(FlvParser, NalLengthsOfEverySizeAndLengthsThatRunPastTheirTag) {
    const std::string a = nal_unit(300, 1), b = nal_unit(5, 2), c = nal_unit(70000, 3);
    // Each length size from its sequence header, 3 bytes included.
    for (int size : {1, 2, 3, 4}) {
        const std::string unit_c = size == 1 ? nal_unit(200, 3) : size == 2 ? a : c;
        const FlvRun run =
            fresh(file_header() +
                  tags({video_tag(sequence_header(size)),
                        video_tag(avc_data(1, 0, length_prefixed(size, {b, unit_c, b})))}));
        EXPECT_EQ(run.output, annex_b({kSps, kPps, b, unit_c, b})) << size;
    }
    // Before any sequence header the lengths take 4 bytes.
    const FlvRun headless =
        fresh(file_header() + tags({video_tag(avc_data(1, 0, length_prefixed(4, {a, b})))}));
    EXPECT_EQ(headless.output, annex_b({a, b}));

    // A length past the tag's end ends the tag's units: those before it come
    // out, it does not, and the next tag is read where it starts.
    const std::string overrun = length_prefixed(2, {b}) + be(1000, 2) + a;
    const std::string cut_prefix = length_prefixed(2, {b}) + std::string(1, '\0');
    const FlvRun run = fresh(
        file_header() + tags({video_tag(sequence_header(2)), video_tag(avc_data(1, 0, overrun)),
                              video_tag(avc_data(1, 0, cut_prefix)),
                              video_tag(avc_data(1, 0, length_prefixed(2, {a})))}));
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(run.output, annex_b({kSps, kPps, b, b, a}));
    EXPECT_NE(run.structure.find(tag_lines(3, 24, 9, 307) + avc_lines(1, "NALU", 0)),
              std::string::npos);
}

TEST_F(FlvParser, ParameterSetsAreWrittenAsFarAsTheRecordHoldsThem) {
    const std::string sps2("\x67\x42", 2), pps2("\x68\xCE\x01", 3);
    const std::string unit = nal_unit(12, 4);
    // Two of each, in order, and again at every sequence header.
    const std::string full = avc_data(0, 0, avc_record(4, {kSps, sps2}, {kPps, pps2}));
    FlvRun run = fresh(file_header() + tags({video_tag(full), video_tag(full)}));
    EXPECT_EQ(run.output, annex_b({kSps, sps2, kPps, pps2, kSps, sps2, kPps, pps2}));

    // A picture set running past the record: what came before it only.
    std::string record = avc_record(2, {kSps}, {kPps});
    record = record.substr(0, record.size() - 1);
    run = fresh(file_header() + tags({video_tag(avc_data(0, 0, record)),
                                      video_tag(avc_data(1, 0, length_prefixed(2, {unit})))}));
    EXPECT_EQ(run.output, annex_b({kSps, unit})) << "the length size was taken all the same";

    // A record too short for the length size keeps the one before.
    run = fresh(file_header() +
                tags({video_tag(sequence_header(1)), video_tag(avc_data(0, 0, "\x01\x64")),
                      video_tag(avc_data(1, 0, length_prefixed(1, {unit})))}));
    EXPECT_EQ(run.output, annex_b({kSps, kPps, unit}));
}

TEST_F(FlvParser, CutFilesEndWithTheLastWholeUnit) {
    const std::string a = nal_unit(40, 1), b = nal_unit(4000, 2);
    const std::string whole =
        file_header() + tags({video_tag(sequence_header(4)), audio_tag("\xAF\x01\x02"),
                              video_tag(avc_data(1, 0, length_prefixed(4, {a, b})))});
    // Cut inside the second unit: the tag is listed, the first unit written.
    FlvRun run = fresh(whole.substr(0, whole.size() - 100));
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(run.output, annex_b({kSps, kPps, a}));
    EXPECT_TRUE(run.structure.ends_with(tag_lines(2, 14, 9, 4053) + avc_lines(1, "NALU", 0)))
        << run.structure;
    // Cut inside a tag header: no tag for the bytes left.
    const size_t audio_end = 9 + 4 + 36 + 4 + 14;
    run = fresh(whole.substr(0, audio_end + 4 + 6));
    EXPECT_EQ(run.structure.rfind("tag "), run.structure.find("tag 1\n"));
    EXPECT_NE(run.structure.find("\tAudio Data\n"), std::string::npos);
    // A sequence header claiming more than the file holds.
    std::string claiming = file_header() + tags({Tag{9, sequence_header(4), 0, 0, 0, 0xFFFFFF}});
    run = fresh(claiming);
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(run.output, annex_b({kSps, kPps}));
    EXPECT_NE(run.structure.find("\tDataSize = 16777215\n"), std::string::npos);
}

TEST_F(FlvParser, DecliningTheOutputStopsTheRun) {
    const std::string bytes =
        file_header() + tags({script_tag("m"), video_tag(sequence_header(4)), audio_tag("x")});
    FlvRun run = fresh(bytes, true, Answer::kDecline);
    EXPECT_TRUE(run.result.cancelled);
    EXPECT_FALSE(run.result.ok);
    EXPECT_TRUE(run.result.failure.empty());
    EXPECT_TRUE(run.structure.ends_with("\tVideo Data\n\t\tFrameType = 1\n\t\tCodecIC = 7\n"))
        << run.structure;
    EXPECT_TRUE(flv::flv_session().output_asked) << "asked once, answered or not";

    run = fresh(bytes, true, Answer::kUncreatable);
    EXPECT_FALSE(run.result.ok);
    EXPECT_FALSE(run.result.cancelled);
    EXPECT_NE(run.result.failure.find("could not be created"), std::string::npos)
        << run.result.failure;
}

TEST_F(FlvParser, BytesThatAreNoFlvFileEndPromptly) {
    std::mt19937 random(7);
    std::string noise(4 << 20, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    const FlvRun run = folder_.run(noise);
    EXPECT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_EQ(run.structure.find("FLV header"), std::string::npos);
    // Every tag takes at least its 15 header bytes.
    const int64_t tags_read = flv::flv_session().next_tag;
    EXPECT_GT(tags_read, 0);
    EXPECT_LE(tags_read, static_cast<int64_t>(noise.size() / 15));
}

}  // namespace
}  // namespace tavimor::test
