// The macroblock information file: 316-byte little-endian records holding what
// was coded, one row of (columns + 1) per macroblock row, border records never
// written, records persisting from frame to frame, and the bit counts.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>

#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "tests/support/truth_texts.h"
#include "vp8dec/decoder_instance.h"
#include "vp8dec/error_codes.h"

namespace tavimor::test {
namespace {

int32_t word(const std::string& bytes, size_t offset) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + offset);
    return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

// The records each frame appends to the file say what the truth file says was
// coded: mode, reference frame, skip flag and segment at their file offsets.
TEST(MbRecords, FileRecordsHoldTheCodedModes) {
    const std::map<std::string, int> kModes = {{"DC", vp8::DC_PRED},  {"V", vp8::V_PRED},
                                               {"H", vp8::H_PRED},    {"TM", vp8::TM_PRED},
                                               {"B", vp8::B_PRED},    {"NEAREST", vp8::NEARESTMV},
                                               {"NEAR", vp8::NEARMV}, {"ZERO", vp8::ZEROMV},
                                               {"NEW", vp8::NEWMV},   {"SPLIT", vp8::SPLITMV}};
    for (const char* name : {"all_33x17", "split_probs_99x77", "inter_dense_48x48"}) {
        const std::optional<TruthStream> truth =
            read_truth(data_path(std::string(name) + ".truth.jsonl"));
        ASSERT_TRUE(truth) << name;
        TestDecoder decoder;
        const std::vector<Frame> frames = read_ivf_frames(data_path(std::string(name) + ".ivf"));
        ASSERT_EQ(frames.size(), truth->frames.size()) << name;
        int checked = 0;
        for (size_t f = 0; f < frames.size(); ++f) {
            ASSERT_EQ(decoder.decode(frames[f]), vp8::kOk) << name << " frame " << f;
            const std::string bytes = decoder.last_mbinfo();
            const JsonValue& frame = truth->frames[f];
            const int cols = truth->grids[f][0];
            const std::vector<JsonValue>& mbs = frame.find("mbs")->items;
            for (size_t n = 0; n < mbs.size(); ++n) {
                const JsonValue& mb = mbs[n];
                const size_t offset = ((n / cols) * (cols + 1) + n % cols) * 316;
                ASSERT_LE(offset + 316, bytes.size()) << name;
                const std::string where = std::string(name) + " frame " + std::to_string(f) +
                                          " macroblock " + std::to_string(n);
                EXPECT_EQ(word(bytes, offset), kModes.at(mb.find("y")->text)) << where;
                EXPECT_EQ(word(bytes, offset + 8), mb.find("r")->as_int()) << where;
                EXPECT_EQ(word(bytes, offset + 24), mb.find("k")->as_int()) << where;
                if (const JsonValue* segment = mb.find("s")) {
                    EXPECT_EQ(bytes[offset + 32], segment->as_int()) << where;
                }
                ++checked;
            }
        }
        EXPECT_GT(checked, 0) << name;
    }
}

TEST(MbRecords, EachFrameWritesRowsOfColumnsPlusOneWithUntouchedBorders) {
    const std::vector<Frame> frames = read_ivf_frames(data_path("all_200x120.ivf"));
    TestDecoder decoder;
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(decoder.decode(frames[i]), vp8::kOk);
        const vp8::DecoderInstance& instance = *decoder.instance();
        const std::string records = decoder.last_mbinfo();
        const size_t stride = static_cast<size_t>(instance.mb_cols) + 1;
        ASSERT_EQ(records.size(), stride * instance.mb_rows * 316) << "frame " << i;
        const std::string zero(316, '\0');
        for (int row = 0; row < instance.mb_rows; ++row)
            EXPECT_EQ(records.substr(((row + 1) * stride - 1) * 316, 316), zero)
                << "frame " << i << " row " << row;
    }
}

TEST(MbRecords, RecordsPersistWhereTheFrameDoesNotRewriteThem) {
    // Inter frames without a map update keep every segment id; key frames keep
    // the vector fields they never write.
    const std::vector<Frame> frames = read_ivf_frames(data_path("all_200x120.ivf"));
    TestDecoder decoder;
    std::vector<vp8::MbAnalysisRecord> previous;
    int kept_segments = 0, kept_vectors = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(decoder.decode(frames[i]), vp8::kOk);
        vp8::DecoderInstance& instance = *decoder.instance();
        std::vector<vp8::MbAnalysisRecord> current;
        for (int r = 0; r < instance.mb_rows; ++r)
            for (int c = 0; c < instance.mb_cols; ++c)
                current.push_back(*vp8::mb_record(instance, r, c));
        const bool same_size = previous.size() == current.size();
        const vp8::FrameSyntax& s = instance.syntax;
        for (size_t m = 0; same_size && m < current.size(); ++m) {
            if (!s.key_frame && !(s.segmentation_enabled && s.update_mb_segmentation_map)) {
                EXPECT_EQ(current[m].segment_id, previous[m].segment_id)
                    << "frame " << i << " mb " << m;
                ++kept_segments;
            }
            if (s.key_frame) {
                EXPECT_EQ(current[m].mv, previous[m].mv) << "a key frame keeps the vector fields";
                EXPECT_EQ(current[m].need_to_clamp, previous[m].need_to_clamp);
                ++kept_vectors;
            }
        }
        if (s.key_frame && !(s.segmentation_enabled && s.update_mb_segmentation_map)) {
            for (const auto& record : current) EXPECT_EQ(record.segment_id, 0) << "frame " << i;
        }
        previous = current;
    }
    EXPECT_GT(kept_segments, 0);
    EXPECT_GT(kept_vectors, 0);
}

// Mode bits as they stand when the tokens of a macroblock are about to be read.
struct ModeBits {
    std::vector<int32_t> bits;
    static void observe(void* user, const vp8::DecoderInstance& instance,
                        const vp8::MacroblockContext& mb, const int16_t*) {
        auto& self = *static_cast<ModeBits*>(user);
        const size_t index = static_cast<size_t>(mb.mb_row) * instance.mb_cols + mb.mb_col;
        if (index == 0) self.bits.clear();
        self.bits.push_back(mb.record->bits);
    }
};

TEST(MbRecords, BitsHoldModeBitsPlusTokenBits) {
    const std::vector<Frame> frames = read_ivf_frames(data_path("sample_320x240.ivf"));
    TestDecoder decoder(false);
    ModeBits mode_bits;
    vp8::decoder_set_token_observer(&decoder.context(), &ModeBits::observe, &mode_bits);
    int skipped = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(decoder.decode(frames[i]), vp8::kOk);
        vp8::DecoderInstance& instance = *decoder.instance();
        int64_t total = 0;
        for (int r = 0; r < instance.mb_rows; ++r)
            for (int c = 0; c < instance.mb_cols; ++c) {
                const vp8::MbAnalysisRecord& record = *vp8::mb_record(instance, r, c);
                const int32_t modes = mode_bits.bits[static_cast<size_t>(r) * instance.mb_cols + c];
                EXPECT_GE(modes, 0);
                total += record.bits;
                if (record.skip && instance.frame_type == 1) {
                    EXPECT_EQ(record.bits, modes)
                        << "a skipped inter macroblock costs its mode bits only";
                    ++skipped;
                } else {
                    EXPECT_GE(record.bits, modes);
                }
            }
        // The frame's bits never exceed what its partitions hold, header included.
        EXPECT_LE(total, static_cast<int64_t>(frames[i].size()) * 8) << "frame " << i;
        if (i == 0) {
            // The first partition starts with the header; the first macroblock
            // counts only its own syntax (a few bits for segment and modes).
            EXPECT_LT(mode_bits.bits[0], 64);
            EXPECT_GT(mode_bits.bits[0], 0);
        }
    }
    EXPECT_GT(skipped, 1000);
}

}  // namespace
}  // namespace tavimor::test
