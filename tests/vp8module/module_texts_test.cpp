// The information texts built from records, line for line.
#include <gtest/gtest.h>

#include "vp8dec/mb_modes.h"
#include "vp8module/mb_texts.h"
#include "vp8module/pixel_text.h"
#include "vp8module/summary_text.h"

namespace tavimor {
namespace {

vp8::MbAnalysisRecord inter_record(int mode, int reference) {
    vp8::MbAnalysisRecord record{};
    record.mode = mode;
    record.ref_frame = reference;
    return record;
}

TEST(MbTexts, MbInfoNamesThePlaceAndTheCost) {
    vp8::MbAnalysisRecord record{};
    record.mode = vp8::TM_PRED;
    record.segment_id = 3;
    record.bits = 57;
    EXPECT_EQ(mb_info_text(record, {2, 1, 22}),
              "==== MB 22(2, 1) ====\r\n    Location\t: (32, 16), \r\n    Segment ID\t: 3\r\n"
              "    MB Type\t: TM_PRED\r\n    Bit Number\t: 57\r\n    QP\t\t: 0\r\n"
              "    QPC\t\t: 0, 0\r\n");
}

TEST(MbTexts, IntraPredictionWithAndWithoutSubblocks) {
    vp8::MbAnalysisRecord record{};
    record.mode = vp8::B_PRED;
    record.uv_mode = vp8::H_PRED;
    for (int k = 0; k < 16; ++k) record.subblocks[k].mode = k % 10;
    const std::string text = pred_info_text(record, {0, 0, 0}, {});
    EXPECT_NE(text.find("++++ Intra Mode Info ++++\r\nMB Type\t: B_PRED\r\n    NumMbPart\t: 16\r\n"
                        "    MbPartSize\t: 4 x 4\r\n    Sub-block Types: \r\n"
                        "      B_DC_PRED \tB_TM_PRED \tB_VE_PRED \tB_HE_PRED \t\r\n"
                        "      B_LD_PRED \tB_RD_PRED \tB_VR_PRED \tB_VL_PRED \t\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n\r\n    U/V are (2)H_PRED\r\n"), std::string::npos);
    record.mode = vp8::DC_PRED;
    EXPECT_NE(pred_info_text(record, {0, 0, 0}, {})
                  .find("    NumMbPart\t: 1\r\n    MbPartSize\t: 16 x 16\r\n"),
              std::string::npos);
}

TEST(MbTexts, InterVectorsAndTheReferencesFrameNumberAsASignedByte) {
    vp8::MbAnalysisRecord record = inter_record(vp8::NEWMV, vp8::GOLDEN_FRAME);
    record.mv = {-6, 14};
    vp8::FrameAnalysisRecord frame{};
    frame.golden_frame_number = 130;
    frame.last_frame_number = 7;
    const std::string text = pred_info_text(record, {1, 0, 1}, ReferenceNumbers::of(frame));
    EXPECT_NE(text.find("****** Inter Info ******\r\nMB Type: NEWMV\r\n    NumMbPart\t: 1\r\n"
                        "    MbPartSize\t: 16 x 16\r\n"
                        "    MV(-6,14), ref = GOLDEN_FRAME(Frame No: -126)\r\n"),
              std::string::npos)
        << text;
}

TEST(MbTexts, SplitsListTheirPartitionsModesAndVectors) {
    vp8::MbAnalysisRecord record = inter_record(vp8::SPLITMV, vp8::LAST_FRAME);
    for (int k = 0; k < 16; ++k) {
        record.subblocks[k].mode = vp8::LEFT4X4 + k % 4;
        record.subblocks[k].mv = {static_cast<int16_t>(k), static_cast<int16_t>(-k)};
    }
    vp8::FrameAnalysisRecord frame{};
    frame.last_frame_number = 4;
    const ReferenceNumbers numbers = ReferenceNumbers::of(frame);
    record.partitioning = vp8::SPLIT_8X8;
    EXPECT_NE(pred_info_text(record, {}, numbers)
                  .find("    NumMbPart\t: 4\r\n    MbPartSize\t: 8x8\r\n    Subblock Types: \r\n"
                        "        LEFT4X4   \tZERO4X4\r\n        LEFT4X4   \tZERO4X4\r\n"
                        "    MV Info: \r\n"
                        "        Block(0, 0) MV( 0, 0), ref = LAST_FRAME(Frame No: 4)\r\n"
                        "        Block(0, 1) MV( 2,-2), ref = LAST_FRAME(Frame No: 4)\r\n"
                        "        Block(1, 0) MV( 8,-8), ref = LAST_FRAME(Frame No: 4)\r\n"
                        "        Block(1, 1) MV(10,-10), ref = LAST_FRAME(Frame No: 4)\r\n"),
              std::string::npos);
    record.partitioning = vp8::SPLIT_16X8;
    EXPECT_NE(pred_info_text(record, {}, numbers).find("        LEFT4X4\r\n        LEFT4X4\r\n"),
              std::string::npos);
    record.partitioning = vp8::SPLIT_4X4;
    const std::string sixteen = pred_info_text(record, {}, numbers);
    EXPECT_NE(sixteen.find("        LEFT4X4   \tABOVE4X4  \tZERO4X4   \tNEW4X4    \r\n"),
              std::string::npos);
    EXPECT_NE(sixteen.find("        Block(3, 3) MV(15,-15)"), std::string::npos);
}

TEST(SummaryText, KeyFrameWithoutFilterAndACroppedPicture) {
    SummaryFacts facts;
    facts.picture_number = 1;
    facts.display_width = 33;
    facts.display_height = 17;
    facts.coded_width = 48;
    facts.coded_height = 32;
    facts.frame_size = 100;
    facts.frame_position = 0x2C;
    std::vector<vp8::MbAnalysisRecord> records(6);
    for (auto& record : records) {
        record.mode = vp8::DC_PRED;
        record.bits = 10;
    }
    EXPECT_EQ(summary_text(facts, records),
              "Picture No\t\t: 1\r\nPicture Type\t\t: Intra\r\nSegmentation Enabled\t: False\r\n"
              "Loop Filter\t\t: Off\r\n"
              "\r\n---------------------- Picture statistics ----------------------\r\n"
              "Picture Size\t\t: 33x17(48x32 for decoding)\r\n"
              "Picture Bits(*1)\t\t: 800(100 bytes)\r\nPicture Address(*2)\t\t: 0X2C\r\n"
              "Encoding Rate\t\t: 1/15\r\nmb total bits\t\t: 60\r\n"
              "mb bits/total_bits\t\t: 0.075\r\nAverage Bits/MB\t\t: 10.000\r\n"
              "\r\n------------------------ MB statistics -------------------------\r\n"
              "     mb type             \t\t: Count\tTotal Bits\tBits/MB\r\n"
              "    *I-MBs\t\t\t: 6    \t60    \t10.00\r\n"
              "        +DC_PRED             \t: 6    \t60    \t10.00\r\n\r\n"
              "*1: Picture Bits are pure picture without counting IVF frame header(12bytes).\r\n"
              "*2: Picture Address are the starting address for the first picture data.\r\n");
}

TEST(SummaryText, NoIntraMacroblocksPrintsZeroBitsPerIntraMacroblock) {
    SummaryFacts facts;
    facts.summary.frame_type = 1;
    facts.summary.filter_level = 20;
    facts.summary.filter_type = 1;
    std::vector<vp8::MbAnalysisRecord> records(2, inter_record(vp8::ZEROMV, vp8::LAST_FRAME));
    const std::string text = summary_text(facts, records);
    EXPECT_NE(text.find("Filter Level\t\t: 20\r\nFilter Type\t\t: SIMPLE\r\n"), std::string::npos);
    EXPECT_NE(text.find("    *I-MBs\t\t\t: 0    \t0     \t0.00\r\n"), std::string::npos);
    EXPECT_NE(text.find("Encoding Rate\t\t: 1/0\r\n"), std::string::npos);  // no frame bytes
}

TEST(PixelText, BorderedGroupsOfFour) {
    PixelBlock block{};
    block[0] = 255;
    block[256] = -7;
    const std::string text = pixel_text(3, {1, 2, 41}, block, 3);
    EXPECT_EQ(text.rfind("Frame 3, MB 41(1, 2)\r\n\r\n====================== Y Data "
                         "======================\r\n+----------------+----------------+"
                         "----------------+----------------+\r\n|255,  0,  0,  0,|",
                         0),
              0u);
    EXPECT_NE(text.find("====================== U Data ======================\r\n"
                        "+----------------+----------------+\r\n| -7,  0,  0,  0,|"),
              std::string::npos);
    // A transformed block of a lone DC of 80 holds (80 + 4) >> 3 = 10 everywhere.
    MbCoefficients coefficients{};
    coefficients[16 * 5] = 80;  // luma block 5: row 1, column 1
    const PixelBlock residual = coefficient_block(coefficients, true);
    EXPECT_EQ(residual[4 * 16 + 4], 10);
    EXPECT_EQ(residual[7 * 16 + 7], 10);
    EXPECT_EQ(residual[3 * 16 + 3], 0);
}

}  // namespace
}  // namespace tavimor
