// What the kernel checks share: the instruction sets to compare against the
// plain kernels, the tables they fill, fenced memory and random inputs.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "vp8dec/kernels/kernel_table.h"

namespace vp8::test {

// The variants one feature setting installs.
struct FeatureSet {
    const char* name;
    int bits;
    bool (*processor_runs)();
};

// SSE2; SSSE3 over SSE2; AVX2 over both.
std::vector<FeatureSet> feature_sets();
std::string feature_set_name(const testing::TestParamInfo<FeatureSet>& info);

// Each test runs once per feature set, skipped where the processor lacks it,
// with both tables filled: plain_ and the feature set's variants_.
class VariantTest : public testing::TestWithParam<FeatureSet> {
  protected:
    void SetUp() override;

    KernelTable plain_{};
    KernelTable variants_{};
    ScalingTable plain_scaling_{};
    ScalingTable variant_scaling_{};
};

// Bytes flanked by inaccessible pages. A kernel's memory is placed flush
// against one of them, so that a kernel that reaches one byte past its
// footprint on that side faults at once instead of passing unnoticed.
class FencedBytes {
  public:
    enum class Flush { kStart, kEnd };

    explicit FencedBytes(size_t capacity);
    ~FencedBytes();
    FencedBytes(const FencedBytes&) = delete;
    FencedBytes& operator=(const FencedBytes&) = delete;

    // size bytes (at most the capacity) against the fence on the given side.
    uint8_t* place(size_t size, Flush flush) const;

  private:
    uint8_t* mapping_;
    size_t mapping_size_;
    uint8_t* inner_;
    size_t inner_size_;
};

// The window of a plane that a kernel may touch, relative to the pointer it is
// given: rows first_row.. and columns first_col.., with the given stride.
struct Window {
    int first_row, rows, first_col, cols;
};

// A plane holding exactly a window's footprint, from its first sample to its
// last, placed against one fence.
class FencedPlane {
  public:
    FencedPlane(const FencedBytes& memory, const Window& window, int stride,
                FencedBytes::Flush flush);

    // The kernel's pointer: row 0, column 0 of the window's frame of reference.
    uint8_t* at() const { return at_; }
    int stride() const { return stride_; }
    size_t size() const { return size_; }
    std::vector<uint8_t> bytes() const { return {begin_, begin_ + size_}; }
    void fill(const std::vector<uint8_t>& content);

  private:
    size_t size_;
    uint8_t* begin_;
    uint8_t* at_;
    int stride_;
};

// int16 values placed against one fence.
class FencedValues {
  public:
    FencedValues(const FencedBytes& memory, size_t count, FencedBytes::Flush flush);
    int16_t* data() const { return data_; }
    std::vector<int16_t> values() const { return {data_, data_ + count_}; }
    void fill(const std::vector<int16_t>& values);

  private:
    size_t count_;
    int16_t* data_;
};

// Alternates the fenced side from one case to the next.
inline FencedBytes::Flush flush_for_case(int index) {
    return index % 2 ? FencedBytes::Flush::kEnd : FencedBytes::Flush::kStart;
}

// Random inputs, repeatable from a fixed seed.
class Inputs {
  public:
    explicit Inputs(uint32_t seed) : engine_(seed) {}

    int uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }
    bool chance(int percent) { return uniform(0, 99) < percent; }

    // Random samples, some runs of them at the extremes 0 and 255.
    std::vector<uint8_t> pixels(size_t count);
    // Values across the whole int16 range, with its extremes and small values mixed in.
    std::vector<int16_t> values(size_t count);

  private:
    std::mt19937 engine_;
};

}  // namespace vp8::test
