// The FLV/F4V fuzzer's seed corpus through the fuzzer's own input step, so
// that every build's tests run it, with or without a fuzzing compiler.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/flv_fuzz_input.h"

namespace tavimor::test {
namespace {

TEST(FlvFuzzCorpus, EverySeedRunsThroughTheExtraction) {
    const std::filesystem::path corpus =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" /
        "corpus" / "flv";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        SCOPED_TRACE(entry.path().filename().string());
        fuzz::run_flv_input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++seeds;
    }
    EXPECT_GE(seeds, 8u);
    flv::set_flv_session({});
}

}  // namespace
}  // namespace tavimor::test
