// Long streams within a small budget for the working files: pictures whose
// space went to others are decoded again from their key frame, bit for bit
// and text for text; jumps reach pictures not decoded yet; and a second
// analyser running beside this one never touches its files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/module_session.h"
#include "shell/view_state.h"
#include "tests/support/test_paths.h"
#include "tests/vp8module/module_fixture.h"
#include "vp8dec/decoder_instance.h"
#include "vp8module/information_views.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor::test {
namespace {

constexpr int kPicturesPerRepetition = 12;
constexpr int kRepetitions = 3;
constexpr int kPictures = kPicturesPerRepetition * kRepetitions;

// The first pictures of the sample, which starts with a key frame, written
// several times over: a valid stream with a key frame at each repetition.
std::string repeated_sample(const std::string& folder) {
    std::ifstream in(data_path("sample_320x240.ivf"), std::ios::binary);
    std::vector<char> header(32);
    in.read(header.data(), 32);
    std::vector<char> frames;
    for (int n = 0; n < kPicturesPerRepetition; ++n) {
        char frame_header[12];
        in.read(frame_header, 12);
        const uint32_t size = static_cast<uint8_t>(frame_header[0]) |
                              static_cast<uint8_t>(frame_header[1]) << 8 |
                              static_cast<uint8_t>(frame_header[2]) << 16 |
                              static_cast<uint32_t>(static_cast<uint8_t>(frame_header[3])) << 24;
        std::vector<char> data(size);
        in.read(data.data(), size);
        frames.insert(frames.end(), frame_header, frame_header + 12);
        frames.insert(frames.end(), data.begin(), data.end());
    }
    const std::string path = folder + "repeated.ivf";
    std::ofstream out(path, std::ios::binary);
    out.write(header.data(), 32);
    for (int r = 0; r < kRepetitions; ++r) out.write(frames.data(), frames.size());
    return path;
}

std::vector<std::string> sample_md5s() {
    std::vector<std::string> md5s;
    for (const std::string& line : split_lines(read_file(data_path("sample_320x240.md5"))))
        md5s.push_back(line.substr(line.find(' ') + 1));
    return md5s;
}

// What the analyser shows of the picture: the picture itself, its header
// trace, its summary (without the lines on the working files, which change
// as pictures come and go) and the texts of two macroblocks.
struct Shown {
    std::string md5;
    std::string texts;
};

Shown shown(const ModuleSession& session) {
    Vp8ModuleState& state = vp8_module_state();
    const vp8::DecoderInstance* instance = vp8::decoder_instance(&state.decoder);
    Shown seen;
    if (!state.record || !instance) return seen;
    seen.md5 = md5_of(state.record->final_picture, instance->width, instance->height);
    std::string summary = session.summary_text();
    summary.resize(summary.find("\r\nCached Pictures"));
    seen.texts = header_trace_text(state) + summary;
    for (int tab : {kMbInfoTab, kPredInfoTab})
        seen.texts += mb_info_tab_text(state, tab, 40, 24) + mb_info_tab_text(state, tab, 300, 200);
    return seen;
}

// Where two texts part, with a little of each from there: empty when equal.
std::string difference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return {};
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const size_t from = at < 40 ? 0 : at - 40;
    return "at byte " + std::to_string(at) + ": expected \"" + expected.substr(from, 80) +
           "\", got \"" + actual.substr(from, 80) + "\"";
}

class LongStreams : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavimor-long-XXXXXX";
        folder_ = std::string(mkdtemp(pattern)) + "/";
        stream_ = repeated_sample(folder_);
        md5s_ = sample_md5s();
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    const std::string& expected(int picture) const {
        return md5s_[static_cast<size_t>((picture - 1) % kPicturesPerRepetition)];
    }
    // Shows a picture as Goto does: the picture index, then a tick forward.
    static void go_to(ModuleSession& session, int picture) {
        view_state().current_frame_index = picture - 1;
        session.timed_step(1);
    }

    std::string folder_;
    std::string stream_;
    std::vector<std::string> md5s_;
};

TEST_F(LongStreams, PicturesBeyondTheBudgetAreDecodedAgainExactly) {
    ModuleSession session(stream_, 1);  // room for one or two pictures
    std::vector<Shown> first(kPictures + 1);
    int64_t largest = 0;
    for (int picture = 1; picture <= kPictures; ++picture) {
        session.timed_step(1);
        ASSERT_EQ(session.picture(), picture);
        first[picture] = shown(session);
        ASSERT_EQ(first[picture].md5, expected(picture)) << "picture " << picture;
        largest = std::max(largest, session.working_files_size());
    }
    EXPECT_LT(vp8_module_state().space.stored_count(), 4);
    EXPECT_LT(largest, 2 << 20) << "the working files stay near their budget";
    for (int picture = kPictures - 1; picture >= 1; --picture) {
        session.timed_step(0);
        ASSERT_EQ(session.picture(), picture);
        const Shown again = shown(session);
        ASSERT_EQ(again.md5, expected(picture)) << "picture " << picture;
        ASSERT_EQ(difference(first[picture].texts, again.texts), "") << "picture " << picture;
        largest = std::max(largest, session.working_files_size());
    }
    EXPECT_LT(largest, 2 << 20);
    for (int picture : {30, 7, 36, 25, 24}) {
        go_to(session, picture);
        ASSERT_EQ(session.picture(), picture);
        const Shown again = shown(session);
        EXPECT_EQ(again.md5, expected(picture)) << "picture " << picture;
        EXPECT_EQ(difference(first[picture].texts, again.texts), "") << "picture " << picture;
    }
    EXPECT_NE(session.summary_text().find("Cached Pictures\t\t: "), std::string::npos);
}

TEST_F(LongStreams, AJumpDecodesForwardToAPictureNotReachedYet) {
    ModuleSession session(stream_);
    session.timed_step(1);
    go_to(session, 20);
    EXPECT_EQ(session.picture(), 20);
    EXPECT_EQ(shown(session).md5, expected(20));
    EXPECT_EQ(vp8_module_state().pictures_reached, 20) << "every picture on the way is kept";
    session.timed_step(0);
    EXPECT_EQ(shown(session).md5, expected(19));
    // Past the end: the last picture.
    go_to(session, 500);
    EXPECT_EQ(session.picture(), kPictures);
    EXPECT_EQ(shown(session).md5, expected(kPictures));
}

TEST_F(LongStreams, AnotherAnalyserBesideThisOneKeepsToItsOwnFiles) {
    ModuleSession session(stream_);
    for (int picture = 1; picture <= 10; ++picture) session.timed_step(1);
    // A second analyser of the same user runs through another stream (and
    // a longer one) with the same working-file names.
    const std::string other = std::string(TAVIMOR_CLI_PATH) + " summary " +
                              data_path("all_200x120.ivf") + " --frame 20 > /dev/null";
    ASSERT_EQ(std::system(other.c_str()), 0);
    for (int picture = 9; picture >= 1; --picture) {
        session.timed_step(0);
        ASSERT_EQ(shown(session).md5, expected(picture)) << "picture " << picture;
    }
}

}  // namespace
}  // namespace tavimor::test
