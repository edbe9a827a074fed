// Every shown picture is bit-exact: its MD5 at display size equals the
// expected one, whatever processor features the kernels may use.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/decode_session.h"
#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "vp8dec/error_codes.h"

namespace tavimor::test {
namespace {

// Decodes a stream and returns its "<index> <md5>" lines.
std::vector<std::string> md5_lines(const std::string& ivf) {
    std::vector<std::string> lines;
    TestDecoder decoder(false);
    for (const Frame& frame : read_ivf_frames(ivf)) {
        EXPECT_EQ(decoder.decode(frame), vp8::kOk) << ivf;
        if (decoder.picture())
            lines.push_back(std::to_string(lines.size()) + " " + picture_md5(*decoder.picture()));
    }
    return lines;
}

// Checks the streams under each feature setting; returns the pictures checked.
int check_streams(const std::vector<std::string>& streams) {
    int pictures = 0;
    for (const char* caps : {"0", ""}) {
        if (*caps)
            setenv("TAVIMOR_SIMD_CAPS", caps, 1);
        else
            unsetenv("TAVIMOR_SIMD_CAPS");
        for (const std::string& ivf : streams) {
            const std::vector<std::string> expected =
                split_lines(read_file(ivf.substr(0, ivf.size() - 4) + ".md5"));
            const std::vector<std::string> got = md5_lines(ivf);
            EXPECT_EQ(got, expected) << ivf << " with TAVIMOR_SIMD_CAPS=" << caps;
            pictures += static_cast<int>(got.size());
        }
    }
    unsetenv("TAVIMOR_SIMD_CAPS");
    return pictures;
}

TEST(PicturesMd5, BundledStreams) {
    std::vector<std::string> streams;
    for (const char* name :
         {"tiny_1x1", "tiny_17x1", "all_33x17", "all_200x120", "invisible_96x64", "resize_64x48",
          "all_v3_80x80", "bilinear_176x144", "split_probs_99x77", "inter_dense_48x48", "tiny_17x9",
          "q95_photo_33x65", "seg2_simple_f40_352x288", "multi_odd_99x77", "seg1_nofilter_352x288",
          "sample_320x240"})
        streams.push_back(data_path(std::string(name) + ".ivf"));
    EXPECT_GT(check_streams(streams), 300);
}

TEST(PicturesMd5, WholeCorpus) {
    if (!corpus_available()) GTEST_SKIP() << "no shared corpus";
    std::vector<std::string> streams;
    for (const char* folder : {"keyframes", "syntax", "real", "bench"})
        for (const std::string& ivf : corpus_files(folder, ".ivf")) streams.push_back(ivf);
    EXPECT_EQ(streams.size(), 58u);
    const int pictures = check_streams(streams);
    EXPECT_EQ(pictures, 2 * 784);
}

// Whichever instruction sets the feature bits name, alone or together (bits
// the processor lacks included), the kernels installed decode the same
// pictures: streams with six-tap and bilinear prediction, both loop filters.
TEST(PicturesMd5, EveryFeatureSettingDecodesTheSamePictures) {
    const std::vector<std::string> streams = {
        data_path("bilinear_176x144.ivf"), data_path("seg2_simple_f40_352x288.ivf"),
        data_path("inter_dense_48x48.ivf"), data_path("split_probs_99x77.ivf")};
    for (const char* caps : {"4", "16", "32", "20", "36", "48", "52", "63", "12"}) {
        setenv("TAVIMOR_SIMD_CAPS", caps, 1);
        for (const std::string& ivf : streams)
            EXPECT_EQ(md5_lines(ivf),
                      split_lines(read_file(ivf.substr(0, ivf.size() - 4) + ".md5")))
                << ivf << " with TAVIMOR_SIMD_CAPS=" << caps;
    }
    unsetenv("TAVIMOR_SIMD_CAPS");
}

// Row threads decode every picture bit for bit as one thread does: with
// two threads over the whole corpus (all four token-partition counts occur),
// with three (rows of one partition then change threads) over the bundled
// streams and the syntax corpus.
std::vector<std::string> threaded_md5_lines(const std::string& ivf, int threads) {
    std::vector<std::string> lines;
    DecodeSession session(ivf, threads);
    session.run([&](const DecodedFrame& frame) {
        if (frame.record)
            lines.push_back(std::to_string(frame.picture) + " " + picture_md5(*frame.record));
    });
    return lines;
}

TEST(PicturesMd5, RowThreadsDecodeAsOneThread) {
    std::vector<std::pair<std::string, int>> runs;
    for (const char* name : {"multi_odd_99x77", "sample_320x240", "inter_dense_48x48",
                             "seg2_simple_f40_352x288", "tiny_1x1"}) {
        runs.emplace_back(data_path(std::string(name) + ".ivf"), 2);
        runs.emplace_back(data_path(std::string(name) + ".ivf"), 3);
    }
    if (corpus_available()) {
        for (const char* folder : {"keyframes", "syntax", "real", "bench"})
            for (const std::string& ivf : corpus_files(folder, ".ivf")) runs.emplace_back(ivf, 2);
        for (const std::string& ivf : corpus_files("syntax", ".ivf")) runs.emplace_back(ivf, 3);
    }
    for (const auto& [ivf, threads] : runs) {
        const std::vector<std::string> expected =
            split_lines(read_file(ivf.substr(0, ivf.size() - 4) + ".md5"));
        EXPECT_EQ(threaded_md5_lines(ivf, threads), expected)
            << ivf << " on " << threads << " threads";
    }
}

}  // namespace
}  // namespace tavimor::test
