// The coefficient dump writes its records in the order given, whatever the
// mix of small records, records that fill its buffer and records larger than
// it, and writes each once.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

#include "vp8dec/coefficient_dump.h"

namespace vp8 {
namespace {

std::vector<uint8_t> file_bytes(std::FILE* file) {
    std::fflush(file);
    const long size = std::ftell(file);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    return bytes;
}

TEST(CoefficientDump, WritesEveryRecordOnceAndInOrder) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    CoefficientDump dump;
    std::vector<uint8_t> expected;
    std::mt19937 rng(21);
    // Macroblock-sized records past the buffer's size several times, then
    // records as large as the buffer and larger, with flushes between.
    std::vector<size_t> sizes;
    for (int i = 0; i < 400; ++i) sizes.push_back(rng() % 1177);
    sizes.insert(sizes.end(), {size_t{1} << 16, 5, (size_t{1} << 16) + 3, 0, 24});
    for (size_t k = 0; k < sizes.size(); ++k) {
        std::vector<uint8_t> record(sizes[k]);
        for (uint8_t& b : record) b = static_cast<uint8_t>(rng());
        dump.append(file, record.data(), record.size());
        expected.insert(expected.end(), record.begin(), record.end());
        if (k % 97 == 96) dump.flush(file);
    }
    dump.flush(file);
    dump.flush(file);
    EXPECT_EQ(file_bytes(file), expected);
    std::fclose(file);
}

TEST(CoefficientDump, FlushWithoutAFileDropsTheRecords) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    CoefficientDump dump;
    const uint8_t first[3] = {1, 2, 3}, second[2] = {4, 5};
    dump.append(file, first, sizeof first);
    dump.flush(nullptr);
    dump.append(file, second, sizeof second);
    dump.flush(file);
    EXPECT_EQ(file_bytes(file), (std::vector<uint8_t>{4, 5}));
    std::fclose(file);
}

}  // namespace
}  // namespace vp8
