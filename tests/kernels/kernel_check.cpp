#include "tests/kernels/kernel_check.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vp8::test {

namespace {

bool runs_sse2() {
    return __builtin_cpu_supports("sse2");
}
bool runs_ssse3() {
    return __builtin_cpu_supports("ssse3");
}
bool runs_avx2() {
    return __builtin_cpu_supports("avx2");
}

}  // namespace

std::vector<FeatureSet> feature_sets() {
    return {
        {"sse2", kFeatureSse2, runs_sse2},
        {"ssse3", kFeatureSse2 | kFeatureSsse3, runs_ssse3},
        {"avx2", kFeatureSse2 | kFeatureSsse3 | kFeatureAvx2, runs_avx2},
    };
}

std::string feature_set_name(const testing::TestParamInfo<FeatureSet>& info) {
    return info.param.name;
}

void VariantTest::SetUp() {
    if (!GetParam().processor_runs()) GTEST_SKIP() << "the processor lacks " << GetParam().name;
    fill_plain_kernels(plain_);
    fill_kernel_table(variants_, GetParam().bits);
    fill_plain_scaling(plain_scaling_);
    fill_scaling_table(variant_scaling_, GetParam().bits);
}

FencedBytes::FencedBytes(size_t capacity) {
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    inner_size_ = (capacity + page - 1) / page * page;
    mapping_size_ = inner_size_ + 2 * page;
    void* mapping = mmap(nullptr, mapping_size_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) throw std::runtime_error("mmap failed");
    mapping_ = static_cast<uint8_t*>(mapping);
    inner_ = mapping_ + page;
    if (inner_size_ && mprotect(inner_, inner_size_, PROT_READ | PROT_WRITE) != 0)
        throw std::runtime_error("mprotect failed");
}

FencedBytes::~FencedBytes() {
    munmap(mapping_, mapping_size_);
}

uint8_t* FencedBytes::place(size_t size, Flush flush) const {
    if (size > inner_size_) throw std::length_error("fenced memory too small");
    return flush == Flush::kStart ? inner_ : inner_ + inner_size_ - size;
}

FencedPlane::FencedPlane(const FencedBytes& memory, const Window& window, int stride,
                         FencedBytes::Flush flush)
    : size_(static_cast<size_t>((window.rows - 1) * stride + window.cols)),
      begin_(memory.place(size_, flush)),
      at_(begin_ - window.first_row * stride - window.first_col),
      stride_(stride) {}

void FencedPlane::fill(const std::vector<uint8_t>& content) {
    ASSERT_EQ(content.size(), size_);
    std::memcpy(begin_, content.data(), size_);
}

FencedValues::FencedValues(const FencedBytes& memory, size_t count, FencedBytes::Flush flush)
    : count_(count),
      data_(reinterpret_cast<int16_t*>(memory.place(count * sizeof(int16_t), flush))) {}

void FencedValues::fill(const std::vector<int16_t>& values) {
    ASSERT_EQ(values.size(), count_);
    std::memcpy(data_, values.data(), count_ * sizeof(int16_t));
}

std::vector<uint8_t> Inputs::pixels(size_t count) {
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count;) {
        const size_t run = std::min<size_t>(count - i, static_cast<size_t>(uniform(1, 24)));
        const int kind = uniform(0, 9);
        for (size_t k = 0; k < run; ++k, ++i)
            out[i] = static_cast<uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : uniform(0, 255));
    }
    return out;
}

std::vector<int16_t> Inputs::values(size_t count) {
    std::vector<int16_t> out(count);
    for (int16_t& v : out) {
        const int kind = uniform(0, 9);
        v = static_cast<int16_t>(kind == 0   ? -32768
                                 : kind == 1 ? 32767
                                 : kind <= 3 ? uniform(-300, 300)
                                 : kind == 4 ? 0
                                             : uniform(-32768, 32767));
    }
    return out;
}

}  // namespace vp8::test
