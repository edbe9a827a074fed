// The MPEG-2 TS parser on the shared container samples: the extracted video
// is byte for byte the sample's .h264, and the texts have a block for every
// packet and every PES packet. Skipped when the shared samples are absent.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/containers/ts_builder.h"

namespace tavimor::ts_test {
namespace {

namespace fs = std::filesystem;

// The shared samples sit beside the checkout.
const fs::path kSamples = fs::path(__FILE__).parent_path().parent_path().parent_path() / ".." /
                          "shared" / "vectors" / "containers";

TEST(TsSamples, TheVideoIsTheSamplesElementaryStreamAndEveryPacketHasItsBlock) {
    const fs::path sample = kSamples / "avc_main_320x240_aud.ts";
    if (!fs::exists(sample)) GTEST_SKIP() << "no shared samples at " << kSamples;
    const TsRun run = run_ts(contents(sample));
    ASSERT_TRUE(run.result.ok) << run.result.failure;
    EXPECT_EQ(run.asked, std::vector<int>{1});
    EXPECT_TRUE(run.video == contents(kSamples / "avc_main_320x240_aud.h264"))
        << "the extracted stream differs (" << run.video.size() << " bytes)";

    // 203 packets from offset 0; packets per PID as the sample's notes list them.
    EXPECT_EQ(count(run.structure, "transport_packet(pos=0x"), 203u);
    // The last packet's offset is 202 * 188.
    EXPECT_EQ(count(run.structure, "transport_packet(pos=0x00009458)\n"), 1u);
    EXPECT_EQ(count(run.structure, "\tPID = 0(PAT)\n"), 5u);
    EXPECT_EQ(count(run.structure, "\tPID = 256(Video)\n"), 179u);
    EXPECT_EQ(count(run.structure, "\tPID = 257(Audio)\n"), 14u);
    EXPECT_EQ(count(run.structure, "\tPID = 4096\n"), 5u);
    EXPECT_EQ(count(run.pes, "PES_packet(PID=256)\n"), 24u);
    EXPECT_EQ(count(run.pes, "PES_packet(PID=257)\n"), 14u);
    EXPECT_EQ(count(run.pes, "\tPTS = "), 38u);
}

}  // namespace
}  // namespace tavimor::ts_test
