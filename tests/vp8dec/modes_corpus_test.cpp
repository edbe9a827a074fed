// What the mode reader and the token decoder found equals what was coded:
// the modes report of every frame matches the truth files line for line.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/modes_json.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "vp8dec/error_codes.h"

namespace tavimor::test {
namespace {

// Shows where two report lines first differ.
std::string first_difference(const std::string& got, const std::string& want) {
    const size_t at = static_cast<size_t>(
        std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin());
    const size_t from = at > 60 ? at - 60 : 0;
    return "differs at byte " + std::to_string(at) + "\n got: ..." + got.substr(from, 120) +
           "\nwant: ..." + want.substr(from, 120);
}

int check_modes(const std::string& ivf, const std::string& truth_path) {
    const std::vector<std::string> truth = split_lines(read_file(truth_path));
    const std::vector<Frame> frames = read_ivf_frames(ivf);
    EXPECT_EQ(frames.size(), truth.size()) << ivf;
    TestDecoder decoder(false);
    MacroblockCoefficients coefficients;
    vp8::decoder_set_token_observer(&decoder.context(), &MacroblockCoefficients::observe,
                                    &coefficients);
    for (size_t i = 0; i < frames.size() && i < truth.size(); ++i) {
        EXPECT_EQ(decoder.decode(frames[i]), vp8::kOk) << ivf << " frame " << i;
        const std::string line =
            modes_json_line(static_cast<int64_t>(i), *decoder.instance(), coefficients);
        if (line != truth[i]) {
            ADD_FAILURE() << ivf << " frame " << i << ": " << first_difference(line, truth[i]);
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(frames.size());
}

TEST(ModesReport, BundledStreamsMatchTheirTruth) {
    for (const char* name :
         {"tiny_1x1", "tiny_17x1", "all_33x17", "all_200x120", "invisible_96x64", "resize_64x48",
          "all_v3_80x80", "bilinear_176x144", "split_probs_99x77", "inter_dense_48x48"})
        check_modes(data_path(std::string(name) + ".ivf"),
                    data_path(std::string(name) + ".truth.jsonl"));
}

TEST(ModesReport, CorpusStreamsMatchTheirTruth) {
    if (!corpus_available()) GTEST_SKIP() << "no shared corpus";
    int frames = 0;
    std::vector<std::string> streams = corpus_files("syntax", ".ivf");
    for (const std::string& bench : corpus_files("bench", ".ivf")) streams.push_back(bench);
    for (const std::string& ivf : streams) {
        const std::string stem = ivf.substr(0, ivf.size() - 4);
        for (const std::string& truth : {stem + ".truth.jsonl", stem + ".truth.jsonl.gz"})
            if (!read_file(truth).empty()) frames += check_modes(ivf, truth);
    }
    EXPECT_GT(frames, 400);
}

}  // namespace
}  // namespace tavimor::test
