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

// The syntax-stress streams with truth files: the shared corpus, else the
// bundled copies of some of them.
std::vector<std::string> truth_streams() {
    std::vector<std::string> streams;
    for (const std::string& folder : {corpus_path("syntax"), std::string(TAVIMOR_TEST_DATA_DIR)})
        if (std::filesystem::is_directory(folder)) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                const std::string path = entry.path().string();
                if (entry.path().extension() == ".ivf" &&
                    (std::filesystem::exists(path.substr(0, path.size() - 4) + ".truth.jsonl") ||
                     std::filesystem::exists(path.substr(0, path.size() - 4) + ".truth.jsonl.gz")))
                    streams.push_back(path);
            }
            if (!streams.empty()) break;
        }
    std::sort(streams.begin(), streams.end());
    return streams;
}

TruthStream truth_of(const std::string& stream) {
    const auto truth = read_truth(stream.substr(0, stream.size() - 4) + ".truth.jsonl");
    EXPECT_TRUE(truth.has_value()) << stream;
    return truth.value_or(TruthStream{});
}

TEST(TruthTexts, PredInfoDumpsOfEveryPicture) {
    const std::vector<std::string> streams = truth_streams();
    ASSERT_FALSE(streams.empty());
    std::printf("%zu streams%s\n", streams.size(),
                corpus_available() ? "" : " (the shared corpus is absent: bundled ones only)");
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
    struct Case {
        const char* what;
        std::function<bool(const JsonValue&, size_t)> wanted;
        std::function<void(const std::string& text, const std::string& expected)> check;
    };
    const Case cases[] = {
        {"an 8x8 split", [](const JsonValue& mb, size_t) { return value_of(mb, "p") == 2; },
         [](const std::string& text, const std::string&) {
             EXPECT_NE(text.find("    NumMbPart\t: 4\r\n    MbPartSize\t: 8x8\r\n"),
                       std::string::npos);
             EXPECT_EQ(count_of(text, "        Block("), 4);
             for (const char* label : {"Block(0, 0)", "Block(0, 1)", "Block(1, 0)", "Block(1, 1)"})
                 EXPECT_EQ(count_of(text, label), 1) << label;
         }},
        {"a sixteen-way split", [](const JsonValue& mb, size_t) { return value_of(mb, "p") == 3; },
         [](const std::string& text, const std::string&) {
             EXPECT_EQ(count_of(text, "        Block("), 16);
             EXPECT_EQ(count_of(text, "Block(3, 3)"), 1);
         }},
        {"a B_PRED macroblock of an inter frame",
         [&](const JsonValue& mb, size_t frame) {
             return mb.find("y")->text == "B" && value_of(truth.frames[frame], "key") == 0;
         },
         [](const std::string& text, const std::string&) {
             EXPECT_EQ(count_of(text, "      B_"), 4) << "four lines of sub-block modes";
             EXPECT_EQ(count_of(text, "_PRED \t"), 16) << "each name padded to ten";
         }},
        {"a GOLDEN_FRAME reference the last buffer does not share",
         [&](const JsonValue& mb, size_t frame) {
             return value_of(mb, "r") == 2 &&
                    truth.references[frame][1] != truth.references[frame][0];
         },
         [](const std::string& text, const std::string& expected) {
             const size_t at = expected.find("GOLDEN_FRAME(Frame No: ");
             ASSERT_NE(at, std::string::npos);
             EXPECT_NE(text.find(expected.substr(at, expected.find(')', at) - at + 1)),
                       std::string::npos);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Found found = find_macroblock(truth, c.wanted);
        ASSERT_GE(found.index, 0) << "the stream has no such macroblock";
        const std::string text = shown_pred_info(stream, truth, found);
        const std::string expected = truth_pred_info(truth, found.frame, found.index);
        EXPECT_EQ(text, expected) << "picture " << found.picture << ", MB " << found.index;
        c.check(text, expected);
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
