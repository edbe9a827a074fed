// The MP4/3GP fuzz harness's seed corpus, run as the harness runs each input,
// so that every build's tests (sanitizer builds included) go over it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/mp4_fuzz_input.h"

namespace tavimor {
namespace {

TEST(Mp4FuzzCorpus, EverySeedRunsToTheEnd) {
    const auto corpus = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                        "fuzz" / "corpus" / "mp4";
    const fuzz::Mp4Input input;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        ExtractionResult result;
        ASSERT_TRUE(
            input.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), result));
        EXPECT_TRUE(result.ok) << result.failure;
        ++files;
    }
    EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace tavimor
