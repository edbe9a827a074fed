// The boolean reader streams partitions through its ring exactly as a reader
// that sees the whole partition would, and counts the bits its reads consume.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "vp8dec/bool_reader.h"

namespace vp8 {
namespace {

// A straightforward reader over the whole partition, counting shifts.
class FlatReader {
  public:
    explicit FlatReader(const std::vector<uint8_t>& data) : data_(data) {
        value_ = (byte(0) << 8) | byte(1);
        next_ = 2;
        bits_left_ = 8;
    }
    int read(int prob) {
        const uint32_t split = 1 + (((range_ - 1) * static_cast<uint32_t>(prob)) >> 8);
        int bit = 0;
        if (value_ < (split << 8)) {
            range_ = split;
        } else {
            range_ -= split;
            value_ -= split << 8;
            bit = 1;
        }
        while (range_ < 128) {
            range_ <<= 1;
            value_ <<= 1;
            ++shifts_;
            if (--bits_left_ == 0) {
                value_ |= byte(next_++);
                bits_left_ = 8;
            }
        }
        return bit;
    }
    int64_t shifts() const { return shifts_; }

  private:
    uint32_t byte(size_t i) const { return i < data_.size() ? data_[i] : 0; }

    const std::vector<uint8_t>& data_;
    uint32_t range_ = 255, value_ = 0;
    size_t next_ = 0;
    int bits_left_ = 0;
    int64_t shifts_ = 0;
};

std::vector<uint8_t> random_bytes(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> data(size);
    for (uint8_t& b : data) b = static_cast<uint8_t>(rng());
    return data;
}

TEST(BoolReader, StreamedPartitionReadsLikeAWholeOneAndCountsEveryShift) {
    // Long partitions wrap the ring many times; refills come between "macroblocks".
    for (size_t size : {size_t{100}, size_t{4096}, size_t{4097}, size_t{50000}}) {
        const std::vector<uint8_t> data = random_bytes(size, static_cast<uint32_t>(size));
        BoolReader reader{};
        ASSERT_EQ(bool_start(reader, data.data(), static_cast<uint32_t>(data.size())), 0);
        FlatReader flat(data);
        std::mt19937 rng(7);
        int64_t counted = 0;
        // Read until well past the partition's end (zeros are supplied there).
        const int64_t total_reads = static_cast<int64_t>(size) * 8 + 500;
        for (int64_t n = 0; n < total_reads;) {
            const BitMark start = bit_mark(reader);
            bool_fill(reader);
            for (int k = 0; k < 300 && n < total_reads; ++k, ++n) {
                const int prob = static_cast<int>(rng() % 256);
                ASSERT_EQ(read_bool(reader, prob), flat.read(prob))
                    << "size " << size << " read " << n;
            }
            const int32_t bits = bits_between(start, bit_mark(reader));
            ASSERT_GE(bits, 0);
            counted += bits;
            ASSERT_EQ(counted, flat.shifts()) << "size " << size;
        }
        bool_stop(reader);
    }
}

TEST(BoolReader, BitCountStaysCorrectAcrossTheRingEnd) {
    const std::vector<uint8_t> data = random_bytes(9000, 3);
    BoolReader reader{};
    ASSERT_EQ(bool_start(reader, data.data(), static_cast<uint32_t>(data.size())), 0);
    FlatReader flat(data);
    // Consume until the read position is just short of the ring's end, then
    // measure a stretch that crosses it.
    while ((reader.loaded & kRingMask) < kRingSize - 3) {
        bool_fill(reader);
        read_bool(reader, 128);
        flat.read(128);
    }
    const int64_t before = flat.shifts();
    const BitMark start = bit_mark(reader);
    for (int i = 0; i < 200; ++i) {
        read_bool(reader, 128);
        flat.read(128);
    }
    EXPECT_GT(reader.loaded & kRingMask, 0u);
    EXPECT_LT(reader.loaded & kRingMask, kRingSize / 2) << "the stretch crossed the ring's end";
    EXPECT_EQ(bits_between(start, bit_mark(reader)), flat.shifts() - before);
    bool_stop(reader);
}

TEST(BoolReader, StartAndLiteralEdges) {
    BoolReader reader{};
    EXPECT_NE(bool_start(reader, nullptr, 5), 0) << "missing data for a non-empty partition";
    const std::vector<uint8_t> data = {0xa5, 0x5a, 0xff};
    ASSERT_EQ(bool_start(reader, data.data(), 3), 0);
    EXPECT_EQ(reader.range, 255u);
    const BitMark start = bit_mark(reader);
    EXPECT_EQ(read_literal(reader, 0), 0u);
    EXPECT_EQ(bits_between(start, bit_mark(reader)), 0) << "a zero-width literal reads nothing";
    // Probability 128 reads plain bits: the first byte comes back as it is.
    EXPECT_EQ(read_literal(reader, 8), 0xa5u);
    bool_stop(reader);
    // An empty partition reads as zeros.
    ASSERT_EQ(bool_start(reader, nullptr, 0), 0);
    EXPECT_EQ(read_literal(reader, 16), 0u);
    bool_stop(reader);
}

TEST(BoolReader, ShortPartitionIsCopiedWholeAndNeverRefilled) {
    const std::vector<uint8_t> data = random_bytes(1000, 11);
    BoolReader reader{};
    ASSERT_EQ(bool_start(reader, data.data(), 1000), 0);
    EXPECT_EQ(reader.source_left, 0u);
    EXPECT_EQ(reader.written, 1000u);
    bool_fill(reader);
    EXPECT_EQ(reader.written, 1000u);
    bool_stop(reader);
}

TEST(BoolReader, ReadTreeWalksToLeaves) {
    // With all-zero data every read at probability 255 gives 0, so the walk takes
    // the left branch at the root: the luma tree's first leaf (DC_PRED = 0).
    const std::vector<uint8_t> zeros(16, 0);
    BoolReader reader{};
    ASSERT_EQ(bool_start(reader, zeros.data(), 16), 0);
    const uint8_t probs[4] = {255, 255, 255, 255};
    EXPECT_EQ(read_tree(reader, kYModeTree, probs), 0);
    EXPECT_EQ(read_tree(reader, kKeyFrameYModeTree, probs), 4)
        << "B_PRED is the key-frame tree's first leaf";
    bool_stop(reader);
}

}  // namespace
}  // namespace vp8
