// The MPEG-2 TS parser on streams built byte by byte: the packet and PES
// texts line for line, resynchronisation, the program tables, the H.264
// payloads it extracts, and what it does with damaged or foreign input.
#include <gtest/gtest.h>

#include <random>

#include "containers/demuxer_context.h"
#include "tests/containers/ts_builder.h"

namespace tavimor::ts_test {
namespace {

// The header lines of a packet as the structure text shows them.
Bytes header_text(int pos, int unit_start, const std::string& pid, int continuity, int error = 0) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", pos);
    return "transport_packet(pos=0x" + std::string(hex) +
           ")\n\tsync_byte = 0x47\n\ttransport_error_indicator = " + std::to_string(error) +
           "\n\tpayload_unit_start_indicator = " + std::to_string(unit_start) +
           "\n\ttransport_priority = 0\n\tPID = " + pid +
           "\n\ttransport_scrambling_control = 0\n\tcontinuity_counter = " +
           std::to_string(continuity) + "\n";
}

Bytes flag_lines(int d, int r, int e, int pcr, int opcr, int s, int p, int x) {
    return "\t\tdiscontinuity_indicator = " + std::to_string(d) +
           "\n\t\trandom_access_indicator = " + std::to_string(r) +
           "\n\t\telementary_stream_priority_indicator = " + std::to_string(e) +
           "\n\t\tPCR_flag = " + std::to_string(pcr) + "\n\t\tOPCR_flag = " + std::to_string(opcr) +
           "\n\t\tsplicing_point_flag = " + std::to_string(s) +
           "\n\t\ttransport_private_data_flag = " + std::to_string(p) +
           "\n\t\tadaptation_field_extension_flag = " + std::to_string(x) + "\n";
}

// A program clock reference: 33-bit base, six reserved bits, 9-bit extension.
Bytes clock(int64_t base, int extension) {
    return {static_cast<char>(base >> 25),
            static_cast<char>(base >> 17),
            static_cast<char>(base >> 9),
            static_cast<char>(base >> 1),
            static_cast<char>(((base & 1) << 7) | 0x7E | (extension >> 8)),
            static_cast<char>(extension & 0xFF)};
}

std::vector<std::string> positions(const Bytes& structure) {
    std::vector<std::string> found;
    for (size_t at = structure.find("(pos="); at != Bytes::npos;
         at = structure.find("(pos=", at + 1))
        found.push_back(structure.substr(at + 5, 10));
    return found;
}

// H.264-like access units: an access unit delimiter and one slice of filler.
Bytes access_unit(int number, size_t size) {
    Bytes unit = Bytes("\0\0\0\1\x09\x10\0\0\0\1\x65", 11);
    for (size_t i = unit.size(); i < size; ++i) unit += static_cast<char>(0x20 + (number + i) % 90);
    return unit;
}

// PAT naming the PMT at 0x1000, whose streams are H.264 on 0x100 and AAC on 0x101.
Bytes program_tables(int& pat_cc, int& pmt_cc) {
    return psi_packets(0, pat({{1, 0x1000}}), pat_cc) +
           psi_packets(0x1000, pmt(0x100, {{0x1B, 0x100}, {0x0F, 0x101}}), pmt_cc);
}

TEST(TsParser, PacketTextsShowTheHeaderAndAdaptationFieldLineForLine) {
    int cc = 0;
    const Bytes field = clock(0x1FFFFFFFF, 299) + clock(1234567, 5) + '\xFE' + '\x03' +
                        "\xAB\x01\x02" + Bytes("\x01\x00", 2);
    const Bytes stream =
        psi_packets(0, pat({{1, 0x1000}}), cc) +
        packet({.pid = 1,
                .continuity = 5,
                .control = 3,
                .adaptation = '\xFF' + field,
                .priority = 1}) +
        packet(
            {.pid = 2, .control = 2, .adaptation = '\x40' + Bytes(182, '\xFF'), .scrambling = 2}) +
        packet({.pid = 0x1FFF}) +                                               // no label
        packet({.pid = 0x100, .control = 3}) +                                  // length 0
        packet({.pid = 0x100, .control = 3, .adaptation = Bytes(183, '\0')}) +  // no payload
        packet({.pid = 0x100, .control = 2, .adaptation = "\x10"}) +  // PCR beyond the field
        packet({.pid = 0x100, .control = 3, .adaptation_length = 200}) +
        packet({.pid = 0x100, .control = 0}) + packet({.pid = 0x100, .error = 1});
    const TsRun run = run_ts(stream);
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    const Bytes expected =
        "transport_packet(pos=0x00000000)\n\tsync_byte = 0x47\n\ttransport_error_indicator = 0\n"
        "\tpayload_unit_start_indicator = 1\n\ttransport_priority = 0\n\tPID = 0(PAT)\n"
        "\ttransport_scrambling_control = 0\n\tcontinuity_counter = 0\n"
        "\tdata_byte  /*184 bytes*/\n"
        "transport_packet(pos=0x000000bc)\n\tsync_byte = 0x47\n\ttransport_error_indicator = 0\n"
        "\tpayload_unit_start_indicator = 0\n\ttransport_priority = 1\n\tPID = 1(CAT)\n"
        "\ttransport_scrambling_control = 0\n\tcontinuity_counter = 5\n"
        "\tadaptation_field()\n\t\tadaptation_field_length = 20\n"
        "\t\tdiscontinuity_indicator = 1\n\t\trandom_access_indicator = 1\n"
        "\t\telementary_stream_priority_indicator = 1\n\t\tPCR_flag = 1\n\t\tOPCR_flag = 1\n"
        "\t\tsplicing_point_flag = 1\n\t\ttransport_private_data_flag = 1\n"
        "\t\tadaptation_field_extension_flag = 1\n"
        "\t\tprogram_clock_reference_base = 8589934591\n"
        "\t\tprogram_clock_reference_extension = 299\n"
        "\t\toriginal_program_clock_reference_base = 1234567\n"
        "\t\toriginal_program_clock_reference_extension = 5\n"
        "\t\tsplice_countdown = -2\n"
        "\t\ttransport_private_data_length = 3\n\t\tprivate_data_byte = 171\n"
        "\tdata_byte  /*163 bytes*/\n"
        "transport_packet(pos=0x00000178)\n\tsync_byte = 0x47\n\ttransport_error_indicator = 0\n"
        "\tpayload_unit_start_indicator = 0\n\ttransport_priority = 0\n\tPID = 2(TDT)\n"
        "\ttransport_scrambling_control = 2\n\tcontinuity_counter = 0\n"
        "\tadaptation_field()\n\t\tadaptation_field_length = 183\n" +
        flag_lines(0, 1, 0, 0, 0, 0, 0, 0) + header_text(0x234, 0, "8191", 0) +
        "\tdata_byte  /*184 bytes*/\n" + header_text(0x2f0, 0, "256", 0) +
        "\tadaptation_field()\n\t\tadaptation_field_length = 0\n\tdata_byte  /*183 bytes*/\n" +
        header_text(0x3ac, 0, "256", 0) +
        "\tadaptation_field()\n\t\tadaptation_field_length = 183\n" +
        flag_lines(0, 0, 0, 0, 0, 0, 0, 0) + header_text(0x468, 0, "256", 0) +
        "\tadaptation_field()\n\t\tadaptation_field_length = 1\n" +
        flag_lines(0, 0, 0, 1, 0, 0, 0, 0) + header_text(0x524, 0, "256", 0) +
        "\tadaptation_field()\n\t\tadaptation_field_length = 200\n" +
        header_text(0x5e0, 0, "256", 0) + header_text(0x69c, 0, "256", 0, 1) +
        "\tdata_byte  /*184 bytes*/\n";
    EXPECT_EQ(run.structure, expected);
    EXPECT_EQ(run.pes, "");
}

TEST(TsParser, PositionsStayFileOffsetsThroughGarbageBlockEndsAndACutLastPacket) {
    // Four garbage bytes first, then enough packets that some straddle the
    // ends of the blocks read, ten bytes without a sync byte in between, and
    // half a packet at the end.
    Bytes stream = "\x01\x02\x03\x04";
    std::vector<std::string> expected;
    int cc = 0;
    for (int i = 0; i < 800; ++i) {
        if (i == 500) stream += Bytes(10, '\x55');
        char pos[16];
        std::snprintf(pos, sizeof pos, "0x%08zx", stream.size());
        expected.push_back(pos);
        stream += packet({.pid = 0x40, .continuity = cc++, .payload = Bytes(184, '\x47')});
    }
    stream += packet({.pid = 0x40}).substr(0, 100);
    const TsRun run = run_ts(stream);
    ASSERT_TRUE(run.result.ok);
    EXPECT_EQ(positions(run.structure), expected);
}

TEST(TsParser, ExtractsTheVideoPayloadsAndWritesOnePesBlockPerPesPacket) {
    int pat_cc = 0, pmt_cc = 0, video_cc = 0, audio_cc = 0;
    const Bytes first = access_unit(1, 400);
    const Bytes second = access_unit(2, 200);
    // Packets of a PES packet before the first header belong to nothing.
    const Bytes stream = program_tables(pat_cc, pmt_cc) +
                         packet({.pid = 0x100, .continuity = video_cc++, .payload = "cut"}) +
                         pes_packets(0x100, pes(0xE0, first, 900000, 896400), video_cc) +
                         pes_packets(0x101, pes(0xC0, Bytes(100, 'a'), 900000), audio_cc) +
                         pes_packets(0x100, pes(0xE0, second, 903600), video_cc);
    const TsRun run = run_ts(stream);
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_EQ(run.asked, std::vector<int>{1});
    EXPECT_TRUE(run.result.codec_found);
    EXPECT_EQ(run.video, first + second);
    EXPECT_EQ(run.raw, "");

    const auto block = [](int pid, int stream_id, int flags, int header_length) {
        return "PES_packet(PID=" + std::to_string(pid) +
               ")\n\tpacket_start_code_prefix = 0x001\n\tstream_id = " + std::to_string(stream_id) +
               "\n\tPES_packet_length = 0\n\t'10'\n\tPES_scrambling_control = 0\n"
               "\tPES_priority = 0\n\tdata_alignment_indicator = 1\n\tcopyright = 0\n"
               "\toriginal_or_copy = 0\n\tPTS_DTS_flags = " +
               std::to_string(flags) +
               "\n\tESCR_flag = 0\n\tES_rate_flag = 0\n\tDSM_trick_mode_flag = 0\n"
               "\tadditional_copy_info_flag = 0\n\tPES_CRC_flag = 0\n\tPES_extension_flag = 0\n"
               "\tPES_header_data_length = " +
               std::to_string(header_length) + "\n";
    };
    EXPECT_EQ(run.pes, block(256, 224, 3, 10) + "\tPTS = 900000\n\tDTS = 896400\n" +
                           "\tPES_packet_data_byte(400bytes)\n" + block(257, 192, 2, 5) +
                           "\tPTS = 900000\n\tPES_packet_data_byte(100bytes)\n" +
                           block(256, 224, 2, 5) + "\tPTS = 903600\n");
    EXPECT_EQ(count(run.structure, "\tPID = 256(Video)\n"), 6u);
    EXPECT_EQ(count(run.structure, "\tPID = 257(Audio)\n"), 1u);
    EXPECT_EQ(count(run.structure, "\tPID = 4096\n"), 1u);
}

TEST(TsParser, ProgramTablesCountOnlyWithTheirCrcAndUnbrokenContinuity) {
    const auto found = [](const Bytes& tables) {
        int cc = 0;
        const TsRun run = run_ts(tables + pes_packets(0x100, pes(0xE0, access_unit(0, 50)), cc));
        return run.video == access_unit(0, 50) && run.asked == std::vector<int>{1};
    };
    int cc = 0;
    const Bytes the_pat = psi_packets(0, pat({{1, 0x1000}}), cc);
    cc = 0;
    EXPECT_FALSE(found(the_pat + psi_packets(0x1000, pmt(0x100, {{0x1B, 0x100}}, false), cc)));
    // A PMT of two packets, whole and with a packet missing.
    cc = 0;
    const Bytes long_pmt = psi_packets(0x1000, pmt(0x100, {{0x1B, 0x100}}, true, 300), cc);
    ASSERT_EQ(long_pmt.size(), 2 * 188u);
    EXPECT_TRUE(found(the_pat + long_pmt));
    Bytes broken = long_pmt;
    broken[188 + 3] = static_cast<char>(0x10 | 2);  // continuity 2 after 0
    EXPECT_FALSE(found(the_pat + broken));
    // A section ended by the bytes before the pointer field's target, and a
    // second section after it in the same packet.
    const Bytes first = pmt(0x100, {{0x1B, 0x100}}, true, 200);
    const Bytes second = pmt(0x100, {{0x0F, 0x101}});
    Bytes tail = first.substr(183);
    const Bytes stream = the_pat +
                         packet({.pid = 0x1000, .unit_start = true, .payload = '\0' + first}) +
                         packet({.pid = 0x1000,
                                 .unit_start = true,
                                 .continuity = 1,
                                 .payload = static_cast<char>(tail.size()) + tail + second});
    cc = 0;
    const TsRun run = run_ts(stream + pes_packets(0x101, pes(0xC0, "x"), cc));
    EXPECT_TRUE(found(stream));
    EXPECT_EQ(count(run.structure, "PID = 257(Audio)"), 1u) << "the second section counted";
}

TEST(TsParser, FindsThePmtWithoutAPatAndThroughAOneSegmentNit) {
    int cc = 0, video_cc = 0;
    const Bytes video = pes_packets(0x100, pes(0xE0, access_unit(3, 300)), video_cc);
    // No PAT at all: the PMT is recognised on its own PID.
    EXPECT_EQ(run_ts(psi_packets(0x1FC8, pmt(0x100, {{0x1B, 0x100}}), cc) + video).video,
              access_unit(3, 300));
    // The PAT names a PMT PID the stream does not carry; the NIT's service
    // 0x05A9 leads to the one-segment PMT PID 0x1FC9.
    cc = 0;
    const Bytes the_pat = psi_packets(0, pat({{0, 0x10}, {1, 0x101}}), cc);
    const Bytes services = Bytes("\x41\x03", 2) + be16(0x05A9) + '\xC0';
    const Bytes nit_tail = be16(0xF000) + be16(0xF000 | static_cast<int>(services.size() + 6)) +
                           be16(1) + be16(1) + be16(0xF000 | static_cast<int>(services.size())) +
                           services;
    cc = 0;
    const Bytes nit = psi_packets(0x10, section(0x40, 1, nit_tail), cc);
    cc = 0;
    const Bytes one_segment_pmt = psi_packets(0x1FC9, pmt(0x100, {{0x1B, 0x100}}), cc);
    EXPECT_EQ(run_ts(the_pat + one_segment_pmt + video).video, "");
    EXPECT_EQ(run_ts(the_pat + nit + one_segment_pmt + video).video, access_unit(3, 300));
}

TEST(TsParser, DamagedPesHeadersDropTheirPacketsAndWhatContinuesThem) {
    int pat_cc = 0, pmt_cc = 0, cc = 0;
    const Bytes good = access_unit(4, 250);
    Bytes no_start = pes(0xE0, Bytes(300, 'n'));
    no_start[2] = 2;
    Bytes no_marker = pes(0xE0, Bytes(300, 'm'));
    no_marker[6] = 0x44;
    Bytes bad_pts = pes(0xE0, Bytes(300, 'p'), 1000);
    bad_pts[13] &= ~1;
    Bytes long_header = pes(0xE0, Bytes(300, 'l'));
    long_header[8] = static_cast<char>(200);
    Bytes stream = program_tables(pat_cc, pmt_cc);
    for (const Bytes& damaged : {no_start, no_marker, bad_pts, long_header})
        stream += pes_packets(0x100, damaged, cc);
    const TsRun run = run_ts(stream + pes_packets(0x100, pes(0xE0, good, 2000), cc));
    EXPECT_EQ(run.video, good);
    // The headers that were read as far as their flags have their block, no time stamps.
    EXPECT_EQ(count(run.pes, "PES_packet(PID=256)\n"), 4u);
    EXPECT_EQ(count(run.pes, "\tPTS = "), 1u);
    EXPECT_EQ(count(run.pes, "PES_packet_data_byte"), 0u);
}

TEST(TsParser, TheOutputIsAskedForOnceInTheProcess) {
    int pat_cc = 0, pmt_cc = 0, cc = 0;
    const Bytes stream =
        program_tables(pat_cc, pmt_cc) + pes_packets(0x100, pes(0xE0, access_unit(5, 90)), cc);
    const TsRun first = run_ts(stream);
    EXPECT_EQ(first.asked, std::vector<int>{1});
    // A later run leaves the video in the raw output.
    const TsRun later = run_ts(stream, true);
    EXPECT_TRUE(later.result.ok);
    EXPECT_TRUE(later.asked.empty());
    EXPECT_FALSE(later.result.codec_found);
    EXPECT_EQ(later.raw, access_unit(5, 90));
    // Declining stops the run.
    const TsRun declined = run_ts(stream, false, true);
    EXPECT_TRUE(declined.result.cancelled);
    EXPECT_EQ(declined.raw + declined.video, "");
}

TEST(TsParser, StreamsWithoutVideoEndWithNothingExtracted) {
    std::mt19937 random(7);
    Bytes noise(1 << 20, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    int cc = 0;
    Bytes no_video = psi_packets(0, pat({{1, 0x1000}}), cc);
    cc = 0;
    no_video += psi_packets(0x1000, pmt(0x1FFF, {{0x0F, 0x101}}), cc);
    for (int i = 0; i < 20000; ++i) no_video += packet({.pid = 0x101, .continuity = i});
    // Program tables on more PIDs than there are assemblers: PAT versions
    // naming a new PMT PID each.
    Bytes many_pids;
    for (int version = 0; version < 32; ++version) {
        cc = version;
        many_pids += psi_packets(0, pat({{1, 0x200 + version}}, version), cc);
    }
    cc = 0;
    many_pids += psi_packets(0x21F, pmt(0x100, {{0x1B, 0x100}}), cc) +
                 pes_packets(0x100, pes(0xE0, "lost"), cc);
    for (const Bytes& stream : {noise, no_video, many_pids}) {
        const TsRun run = run_ts(stream);
        EXPECT_TRUE(run.result.ok);
        EXPECT_TRUE(run.asked.empty());
        EXPECT_EQ(run.raw + run.video, "");
    }
}

TEST(TsParser, AnInputThatCannotBeReadFailsTheRun) {
    Folder folder;
    DemuxerContext context;
    context.input = std::fopen(folder.path("in.ts").c_str(), "wb");  // reading it fails
    context.raw_output = std::fopen(folder.path("out.264").c_str(), "wb");
    ASSERT_TRUE(context.input && context.raw_output);
    context.state = ts::kTsFormat.make_state();
    ASSERT_EQ(ts::kTsFormat.setup(context), kFormatOk);
    EXPECT_EQ(ts::kTsFormat.body(context), kFormatFailed);
    EXPECT_EQ(context.failure, "the container file could not be read");
}

}  // namespace
}  // namespace tavimor::ts_test
