// The vector row conversion against the plain one, byte for byte, over random
// rows of every width up to a few vectors, narrow chroma and every component
// mask.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "display/yuv_row.h"

namespace tavimor {
namespace {

TEST(YuvRow, TheAvx2VersionGivesThePlainBytes) {
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2 on this processor";
    std::mt19937 random(8);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int width = 1; width <= 70; ++width) {
        for (const int chroma_width : {(width + 1) / 2, 1, width / 3 + 1, width / 2 + 9}) {
            for (int mask = 0; mask < 8; ++mask) {
                // Extremes as often as values in between: the clamps matter.
                const auto sample = [&] {
                    const int pick = byte(random);
                    return static_cast<uint8_t>(pick < 40 ? 0 : pick > 215 ? 255 : byte(random));
                };
                std::vector<uint8_t> y(width), u(chroma_width), v(chroma_width);
                for (auto* plane : {&y, &u, &v})
                    for (uint8_t& s : *plane) s = sample();
                const YuvRow row{y.data(), u.data(), v.data(), width, chroma_width, mask};
                std::vector<uint8_t> plain(4 * width + 4, 0xAA), vector(4 * width + 4, 0xAA);
                yuv_row_plain(row, plain.data());
                yuv_row_avx2(row, vector.data());
                ASSERT_EQ(vector, plain)
                    << "width " << width << ", chroma " << chroma_width << ", mask " << mask;
            }
        }
    }
}

}  // namespace
}  // namespace tavimor
