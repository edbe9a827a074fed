// The TS fuzz harness over its seed corpus, so that every build runs it
// without the fuzzing compiler.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/ts_fuzz_input.h"
#include "tests/containers/ts_builder.h"

namespace tavimor::ts_test {
namespace {

namespace fs = std::filesystem;

TEST(TsFuzzCorpus, EverySeedRunsCleanlyThroughTheExtraction) {
    const fs::path corpus =
        fs::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" / "corpus" / "ts";
    int seeds = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        const Bytes bytes = contents(entry.path().string());
        EXPECT_EQ(fuzz::run_ts_input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                  "")
            << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 9);
}

}  // namespace
}  // namespace tavimor::ts_test
