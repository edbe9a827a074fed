// The module's macroblock texts against the truth files of the syntax-stress
// streams: what "Start MB Info Dump" writes and what the MB information
// dialog shows, run through the command-line tool's module session, equal
// the texts derived from what was coded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "cli/module_session.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "tests/support/truth_texts.h"
#include "vp8dec/mb_analysis_record.h"
#include "vp8module/mb_info_dump.h"

namespace tavimor::test {
namespace {

constexpr int kMbInfoTab = 0;
constexpr int kPredInfoTab = 1;

// Equal texts; else the first line that differs, with the macroblock it
// belongs to.
void expect_same_text(const std::string& actual, const std::string& expected,
                      const std::string& what) {
    if (actual == expected) return;
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    const size_t break_before = at == 0 ? std::string::npos : expected.rfind('\n', at - 1);
    const size_t line = break_before == std::string::npos ? 0 : break_before + 1;
    const size_t heading = expected.rfind("==== MB", at);
    auto excerpt = [&](const std::string& text) {
        return text.substr(line, std::min<size_t>(text.find('\n', at) - line, 160));
    };
    ADD_FAILURE() << what << ": differs in "
                  << (heading == std::string::npos
                          ? "the frame line"
                          : expected.substr(heading, expected.find('\r', heading) - heading))
                  << "\n  module: " << excerpt(actual) << "\n  truth:  " << excerpt(expected);
}

TruthStream truth_of(const std::string& stream) {
    const auto truth = read_truth(stream.substr(0, stream.size() - 4) + ".truth.jsonl");
    EXPECT_TRUE(truth.has_value()) << stream;
    return truth.value_or(TruthStream{});
}

TEST(TruthTexts, PredInfoDumpsOfEveryPicture) {
    // Every syntax-stress stream of the shared corpus has a truth file.
    const std::vector<std::string> streams = corpus_files("syntax", ".ivf");
    if (streams.empty()) GTEST_SKIP() << "the shared corpus is absent: " << TAVIMOR_VECTORS_DIR;
    for (const std::string& stream : streams) {
        const TruthStream truth = truth_of(stream);
        const int last = static_cast<int>(truth.shown.size());
        ASSERT_GE(last, 2) << stream;
        ModuleSession session(stream);
        for (int picture = 1; picture <= last; ++picture) {
            expect_same_text(session.dump_picture(picture, kDumpPredInfo, 0),
                             truth_pred_dump(truth, picture),
                             stream + ", picture " + std::to_string(picture));
        }
    }
}

// A macroblock of a shown picture and where the truth file has it.
struct Found {
    int picture = 0;  // from 1
    size_t frame = 0;
    int index = -1;
};

Found find_macroblock(const TruthStream& truth,
                      const std::function<bool(const JsonValue& mb, size_t frame)>& wanted) {
    for (size_t p = 0; p < truth.shown.size(); ++p) {
        const size_t frame = truth.shown[p];
        const auto& mbs = truth.frames[frame].find("mbs")->items;
        for (size_t i = 0; i < mbs.size(); ++i)
            if (wanted(mbs[i], frame)) return {static_cast<int>(p) + 1, frame, static_cast<int>(i)};
    }
    return {};
}

long long value_of(const JsonValue& mb, const char* key) {
    const JsonValue* value = mb.find(key);
    return value && !value->is_null() ? value->as_int() : -1;
}

int count_of(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The Pred Info text the dialog shows for the macroblock once clicked.
std::string shown_pred_info(const std::string& stream, const TruthStream& truth,
                            const Found& found) {
    ModuleSession session(stream);
    session.show_picture(found.picture);
    const int columns = truth.grids[found.frame][0];
    session.select_macroblock(found.index % columns, found.index / columns);
    session.choose_mb_info_tab(kPredInfoTab);
    return session.mb_info_text();
}

TEST(TruthTexts, SplitBPredAndGoldenMacroblocksInTheDialog) {
    const std::string stream = data_path("all_200x120.ivf");
    const TruthStream truth = truth_of(stream);
    // Each case: the macroblock wanted, and a part its text has so many times.
    struct Case {
        const char* what;
        std::function<bool(const JsonValue&, size_t)> wanted;
        std::string part;
        int times;
    };
    const auto key = [&](size_t frame) { return value_of(truth.frames[frame], "key") == 1; };
    const Case cases[] = {
        {"an 8x8 split", [](const JsonValue& mb, size_t) { return value_of(mb, "p") == 2; },
         "        Block(", 4},
        {"an 8x8 split's last label",
         [](const JsonValue& mb, size_t) { return value_of(mb, "p") == 2; },
         "        Block(1, 1) MV(", 1},
        {"a sixteen-way split", [](const JsonValue& mb, size_t) { return value_of(mb, "p") == 3; },
         "        Block(", 16},
        {"a B_PRED macroblock of an inter frame: its names, padded to ten",
         [&](const JsonValue& mb, size_t frame) {
             return mb.find("y")->text == "B" && !key(frame);
         },
         "_PRED \t", 16},
        {"a GOLDEN_FRAME reference the last buffer does not share",
         [&](const JsonValue& mb, size_t frame) {
             return value_of(mb, "r") == 2 &&
                    truth.references[frame][1] != truth.references[frame][0];
         },
         "GOLDEN_FRAME(Frame No: ", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Found found = find_macroblock(truth, c.wanted);
        ASSERT_GE(found.index, 0) << "the stream has no such macroblock";
        const std::string text = shown_pred_info(stream, truth, found);
        const std::string expected = truth_pred_info(truth, found.frame, found.index);
        EXPECT_EQ(text, expected) << "picture " << found.picture << ", MB " << found.index;
        EXPECT_EQ(count_of(expected, c.part), c.times) << "the truth's own text";
    }
}

TEST(TruthTexts, FrameNumbersAbove127ArePrintedAsSignedBytes) {
    // Fourteen copies of a ten-picture stream that starts with a key frame:
    // picture 131 is a key frame, and the pictures after it predict from it.
    const std::string bytes = read_file(data_path("tiny_1x1.ivf"));
    std::string long_stream = bytes;
    for (int i = 1; i < 14; ++i) long_stream += bytes.substr(32);
    char pattern[] = "/tmp/tavimor-truth-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string path = folder + "/long.ivf";
    std::ofstream(path, std::ios::binary) << long_stream;
    const TruthStream once = truth_of(data_path("tiny_1x1.ivf"));
    std::vector<JsonValue> frames;
    for (int i = 0; i < 14; ++i)
        frames.insert(frames.end(), once.frames.begin(), once.frames.end());
    const TruthStream truth = truth_stream(std::move(frames));
    ASSERT_EQ(truth.shown.size(), 140u);
    {
        ModuleSession session(path);
        std::string all;
        for (int picture = 131; picture <= 140; ++picture) {
            const std::string expected = truth_pred_dump(truth, picture);
            expect_same_text(session.dump_picture(picture, kDumpPredInfo, 0), expected,
                             "picture " + std::to_string(picture));
            all += expected;
        }
        EXPECT_NE(all.find("(Frame No: -125)"), std::string::npos)
            << "a reference holding picture 131 is printed as -125";
    }
    std::filesystem::remove_all(folder);
}

TEST(TruthTexts, AKeyFrameThatIsNotShownLeavesThePictureCountAsItWas) {
    // The third key frame of a stream made invisible: it becomes every
    // reference with the number of the picture shown before it.
    const std::string source = data_path("all_200x120.ivf");
    std::string bytes = read_file(source);
    TruthStream truth = truth_of(source);
    size_t at = 32, hidden = 0;
    for (size_t frame = 0, keys = 0; at + 12 <= bytes.size(); ++frame) {
        const size_t size = static_cast<uint8_t>(bytes[at]) |
                            static_cast<uint8_t>(bytes[at + 1]) << 8 |
                            static_cast<size_t>(static_cast<uint8_t>(bytes[at + 2])) << 16;
        if ((bytes[at + 12] & 1) == 0 && ++keys == 3) {
            bytes[at + 12] = static_cast<char>(bytes[at + 12] & ~0x10);  // show_frame
            hidden = frame;
            break;
        }
        at += 12 + size;
    }
    ASSERT_GT(hidden, 0u);
    for (auto& [key, value] : truth.frames[hidden].members)
        if (key == "show") value.number = 0;
    truth = truth_stream(std::move(truth.frames));
    const size_t first_after = static_cast<size_t>(
        std::upper_bound(truth.shown.begin(), truth.shown.end(), hidden) - truth.shown.begin());
    ASSERT_LT(first_after + 3, truth.shown.size());
    char pattern[] = "/tmp/tavimor-truth-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string path = folder + "/hidden-key.ivf";
    std::ofstream(path, std::ios::binary) << bytes;
    {
        ModuleSession session(path);
        for (size_t p = first_after; p < first_after + 4; ++p) {
            const int picture = static_cast<int>(p) + 1;
            expect_same_text(session.dump_picture(picture, kDumpPredInfo, 0),
                             truth_pred_dump(truth, picture), "picture " + std::to_string(picture));
        }
    }
    std::filesystem::remove_all(folder);
}

TEST(TruthTexts, SkippedMacroblocksShowTheBitsOfTheirRecords) {
    const std::string stream = data_path("inter_dense_48x48.ivf");
    const TruthStream truth = truth_of(stream);
    const std::vector<Frame> frames = read_ivf_frames(stream);
    TestDecoder decoder;
    ModuleSession session(stream);
    int checked = 0;
    size_t decoded = 0;
    for (size_t p = 0; p < truth.shown.size(); ++p) {
        const size_t frame = truth.shown[p];
        // The records as the decoder wrote them for this frame.
        while (decoded <= frame) ASSERT_EQ(decoder.decode(frames.at(decoded++)), 0);
        const std::string records = decoder.last_mbinfo();
        session.show_picture(static_cast<int>(p) + 1);
        session.choose_mb_info_tab(kMbInfoTab);
        const int columns = truth.grids[frame][0];
        const auto& mbs = truth.frames[frame].find("mbs")->items;
        for (size_t i = 0; i < mbs.size(); ++i) {
            if (value_of(mbs[i], "k") != 1) continue;
            const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
            vp8::MbAnalysisRecord record;
            const size_t offset =
                (static_cast<size_t>(row) * (columns + 1) + column) * vp8::kMbAnalysisRecordSize;
            ASSERT_LE(offset + sizeof record, records.size());
            std::memcpy(&record, records.data() + offset, sizeof record);
            EXPECT_EQ(record.skip, 1);
            session.select_macroblock(column, row);
            const std::string text = session.mb_info_text();
            EXPECT_NE(text.find("==== MB " + std::to_string(i) + "("), std::string::npos);
            EXPECT_NE(text.find("    Bit Number\t: " + std::to_string(record.bits) + "\r\n"),
                      std::string::npos)
                << "picture " << p + 1 << ", MB " << i << ":\n"
                << text;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0) << "the stream has skipped macroblocks";
}

}  // namespace
}  // namespace tavimor::test
