// The boolean reader, loading its window several bytes at a time, reads
// exactly as a reader taking one byte at a time would, and counts the bits its
// reads consume.
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
    // Sizes around the seven-byte loads; the reads run well past each end.
    for (size_t size :
         {size_t{1}, size_t{7}, size_t{8}, size_t{15}, size_t{100}, size_t{4097}, size_t{50000}}) {
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
    }
}

TEST(BoolReader, BitCountStaysExactAcrossThePartitionEnd) {
    const std::vector<uint8_t> data = random_bytes(40, 3);
    BoolReader reader{};
    ASSERT_EQ(bool_start(reader, data.data(), static_cast<uint32_t>(data.size())), 0);
    FlatReader flat(data);
    // Consume until the window is short of the partition's end, then measure
    // stretches that cross from whole loads to single bytes and past the end.
    while (reader.end - reader.next >= 8) {
        read_bool(reader, 200);
        flat.read(200);
    }
    for (int stretch = 0; stretch < 20; ++stretch) {
        const int64_t before = flat.shifts();
        const BitMark start = bit_mark(reader);
        for (int i = 0; i < 13; ++i)
            ASSERT_EQ(read_bool(reader, 17 * i % 256), flat.read(17 * i % 256));
        EXPECT_EQ(bits_between(start, bit_mark(reader)), flat.shifts() - before)
            << "stretch " << stretch;
    }
    EXPECT_EQ(reader.next, reader.end);
    EXPECT_GT(reader.padding, 0u) << "the reads went past the end";
}

TEST(BoolReader, HalfProbabilityReadIsTheReadAtOneHundredTwentyEight) {
    const std::vector<uint8_t> data = random_bytes(3000, 5);
    BoolReader plain{}, half{};
    ASSERT_EQ(bool_start(plain, data.data(), 3000), 0);
    ASSERT_EQ(bool_start(half, data.data(), 3000), 0);
    std::mt19937 rng(9);
    for (int n = 0; n < 30000; ++n) {
        // Mixed with other probabilities so that every range value occurs.
        const int prob = static_cast<int>(rng() % 256);
        ASSERT_EQ(read_bool(plain, prob), read_bool(half, prob));
        ASSERT_EQ(read_bool(plain, 128), read_bool_half(half)) << "read " << n;
        ASSERT_EQ(plain.range, half.range);
    }
}

// Reads through a window held apart, in stretches handed back to the reader
// between them, with the branch-free half reads among them: the same bits
// and the same counts as the plain reader, up to and past the partition's end.
TEST(BoolReader, WindowReadsLikeItsSourceAcrossHandBacksAndThePartitionEnd) {
    for (size_t size : {size_t{1}, size_t{9}, size_t{64}, size_t{5000}}) {
        const std::vector<uint8_t> data = random_bytes(size, static_cast<uint32_t>(size) + 11);
        BoolReader reader{};
        ASSERT_EQ(bool_start(reader, data.data(), static_cast<uint32_t>(data.size())), 0);
        FlatReader flat(data);
        std::mt19937 rng(13);
        const int64_t total_reads = static_cast<int64_t>(size) * 8 + 400;
        for (int64_t n = 0; n < total_reads;) {
            const int64_t before = flat.shifts();
            WindowReader window(reader);
            const BitMark start = bit_mark(window);
            for (int k = 0; k < 250 && n < total_reads; ++k, ++n) {
                const int prob = static_cast<int>(rng() % 256);
                ASSERT_EQ(read_bool(window, prob), flat.read(prob)) << "size " << size;
                ASSERT_EQ(read_bool_half_selecting(window), flat.read(128)) << "size " << size;
            }
            EXPECT_EQ(bits_between(start, bit_mark(window)), flat.shifts() - before);
            window.finish();
            ASSERT_EQ(read_bool(reader, 77), flat.read(77)) << "size " << size;
        }
        EXPECT_EQ(reader.next, reader.end);
    }
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
    // An empty partition reads as zeros.
    ASSERT_EQ(bool_start(reader, nullptr, 0), 0);
    EXPECT_EQ(read_literal(reader, 16), 0u);
}

// A tree walked node by node at run time, as the tree arrays describe it.
int walk_tree(BoolReader& reader, const TreeIndex* tree, const uint8_t* probs) {
    int index = 0;
    while ((index = tree[index + read_bool(reader, probs[index >> 1])]) > 0) {
    }
    return -index;
}

template <const TreeIndex* Tree, class Shift>
void expect_unfolded_tree_reads_as_walked(std::mt19937& random) {
    std::vector<uint8_t> data(512);
    for (uint8_t& byte : data) byte = static_cast<uint8_t>(random());
    uint8_t probs[9];
    for (uint8_t& prob : probs) prob = static_cast<uint8_t>(1 + random() % 255);
    BoolReader walked{}, unfolded{};
    ASSERT_EQ(bool_start(walked, data.data(), static_cast<uint32_t>(data.size())), 0);
    ASSERT_EQ(bool_start(unfolded, data.data(), static_cast<uint32_t>(data.size())), 0);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ((read_fixed_tree<Tree, Shift>(unfolded, probs)), walk_tree(walked, Tree, probs))
            << "symbol " << i;
        ASSERT_EQ(bits_between(bit_mark(walked), bit_mark(unfolded)), 0) << "symbol " << i;
    }
}

TEST(BoolReader, UnfoldedTreesReadAsTheWalkedTreesWithEitherShift) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        expect_unfolded_tree_reads_as_walked<kYModeTree, TableShift>(random);
        expect_unfolded_tree_reads_as_walked<kKeyFrameYModeTree, TableShift>(random);
        expect_unfolded_tree_reads_as_walked<kUvModeTree, TableShift>(random);
        expect_unfolded_tree_reads_as_walked<kSubblockModeTree, TableShift>(random);
        expect_unfolded_tree_reads_as_walked<kMvRefTree, TableShift>(random);
        expect_unfolded_tree_reads_as_walked<kSplitTree, TableShift>(random);
        expect_unfolded_tree_reads_as_walked<kSubMvRefTree, TableShift>(random);
        expect_unfolded_tree_reads_as_walked<kSmallMvTree, TableShift>(random);
        if (__builtin_cpu_supports("lzcnt"))
            expect_unfolded_tree_reads_as_walked<kSubblockModeTree, LeadingZeroShift>(random);
    }
}

TEST(BoolReader, UnfoldedTreeReachesTheFirstLeaves) {
    // With all-zero data every read at probability 255 gives 0, so the walk takes
    // the left branch at the root: the luma tree's first leaf (DC_PRED = 0).
    const std::vector<uint8_t> zeros(16, 0);
    BoolReader reader{};
    ASSERT_EQ(bool_start(reader, zeros.data(), 16), 0);
    const uint8_t probs[4] = {255, 255, 255, 255};
    EXPECT_EQ(read_fixed_tree<kYModeTree>(reader, probs), 0);
    EXPECT_EQ(read_fixed_tree<kKeyFrameYModeTree>(reader, probs), 4)
        << "B_PRED is the key-frame tree's first leaf";
}

}  // namespace
}  // namespace vp8
