// The loop-filter edge operations of every instruction set against the plain
// ones: every level, sharpness and frame type, on lines flat and edgy enough
// that the filter masks and the high-variance test go both ways.
#include <algorithm>
#include <array>
#include <memory>

#include "tests/kernels/kernel_check.h"
#include "vp8dec/decoder_instance.h"
#include "vp8dec/loop_filter.h"

namespace vp8::test {
namespace {

constexpr int kCases = 1500;

// The filter-level tables of every sharpness and frame type, as the decoder builds them.
class FilterLevelTables {
  public:
    FilterLevelTables() {
        auto instance = std::make_unique<DecoderInstance>();
        for (int sharpness = 0; sharpness < 8; ++sharpness)
            for (int frame_type = 0; frame_type < 2; ++frame_type) {
                instance->loop_filter.sharpness_level = sharpness;
                instance->frame_type = frame_type;
                build_filter_levels(*instance);
                std::copy(std::begin(instance->filter_levels), std::end(instance->filter_levels),
                          tables_[sharpness * 2 + frame_type].begin());
            }
    }

    const FilterLevelEntry& entry(int sharpness, int frame_type, int level) const {
        return tables_[sharpness * 2 + frame_type][level];
    }

  private:
    std::array<std::array<FilterLevelEntry, 64>, 16> tables_;
};

// The kernels read the chroma limits from their own fields: give them other
// values than the luma ones, so that a variant mixing them up shows.
void with_chroma_limits_of(const FilterLevelEntry& from, FilterLevelEntry& to) {
    to.uv_interior_limit = from.uv_interior_limit;
    to.uv_subblock_edge_level = from.uv_subblock_edge_level;
    to.uv_hev_threshold = from.uv_hev_threshold;
    to.uv_mb_edge_level = from.uv_mb_edge_level;
    to.uv_mb_hev_threshold = from.uv_mb_hev_threshold;
}

const FilterLevelTables& filter_level_tables() {
    static const FilterLevelTables tables;
    return tables;
}

enum class Direction { kVertical, kHorizontal };

// An edge operation and the windows it may touch in each plane.
struct EdgeKernel {
    const char* name;
    EdgeFilterFn KernelTable::*member;
    Direction direction;
    Window luma, chroma;
    // The first luma edge line: where q0 sits along it, and the farthest
    // sample from the edge the filter may change (3 for p2..q2, 2 for p1..q1, 1 for p0 q0).
    int first_q0, reach;
};

constexpr Window kMbLeftLuma{0, 16, -4, 8}, kMbLeftChroma{0, 8, -4, 8};
constexpr Window kMbTopLuma{-4, 8, 0, 16}, kMbTopChroma{-4, 8, 0, 8};
constexpr Window kInnerLuma{0, 16, 0, 16}, kInnerChroma{0, 8, 0, 8};

const EdgeKernel kEdgeKernels[] = {
    {"normal_mb_edge_left", &KernelTable::normal_mb_edge_left, Direction::kVertical, kMbLeftLuma,
     kMbLeftChroma, 0, 3},
    {"normal_inner_vertical", &KernelTable::normal_inner_vertical, Direction::kVertical, kInnerLuma,
     kInnerChroma, 4, 2},
    {"normal_mb_edge_top", &KernelTable::normal_mb_edge_top, Direction::kHorizontal, kMbTopLuma,
     kMbTopChroma, 0, 3},
    {"normal_inner_horizontal", &KernelTable::normal_inner_horizontal, Direction::kHorizontal,
     kInnerLuma, kInnerChroma, 4, 2},
    // The simple filter reads p1..q1 only and leaves the chroma planes alone.
    {"simple_mb_edge_left",
     &KernelTable::simple_mb_edge_left,
     Direction::kVertical,
     {0, 16, -2, 4},
     kInnerChroma,
     0,
     1},
    {"simple_inner_vertical",
     &KernelTable::simple_inner_vertical,
     Direction::kVertical,
     {0, 16, 2, 12},
     kInnerChroma,
     4,
     1},
    {"simple_mb_edge_top",
     &KernelTable::simple_mb_edge_top,
     Direction::kHorizontal,
     {-2, 4, 0, 16},
     kInnerChroma,
     0,
     1},
    {"simple_inner_horizontal",
     &KernelTable::simple_inner_horizontal,
     Direction::kHorizontal,
     {2, 12, 0, 16},
     kInnerChroma,
     4,
     1},
    // The left edge and the inner edges after it, in one call.
    {"normal_vertical_edges",
     &KernelTable::normal_vertical_edges,
     Direction::kVertical,
     {0, 16, -4, 20},
     {0, 8, -4, 12},
     0,
     3},
    {"simple_vertical_edges",
     &KernelTable::simple_vertical_edges,
     Direction::kVertical,
     {0, 16, -2, 16},
     kInnerChroma,
     0,
     1},
};

// One line of samples starting at `offset` from the kernel's pointer: random,
// or a random walk whose steps are small enough for some limits and not for
// others, with a step at every edge position and an occasional jump.
std::vector<uint8_t> sample_line(Inputs& in, int offset, int length) {
    if (in.chance(10)) return in.pixels(static_cast<size_t>(length));
    static constexpr int kStepScales[] = {0, 1, 1, 2, 3, 4, 6, 9, 14, 20, 32};
    const int scale = kStepScales[in.uniform(0, 10)];
    const int edge_step = in.uniform(0, 40);
    const int jump_chance = in.uniform(0, 2) * 5;
    int value = in.chance(15) ? (in.chance(50) ? 0 : 255) : in.uniform(0, 255);
    std::vector<uint8_t> line(static_cast<size_t>(length));
    for (int k = 0; k < length; ++k) {
        if ((offset + k) % 4 == 0) value += in.uniform(-edge_step, edge_step);
        value = value < 0 ? 0 : value > 255 ? 255 : value;
        line[static_cast<size_t>(k)] = static_cast<uint8_t>(value);
        value += in.chance(jump_chance) ? in.uniform(-100, 100) : in.uniform(-scale, scale);
    }
    return line;
}

// Random plane contents with sample lines across the edges inside the window.
std::vector<uint8_t> plane_content(Inputs& in, const FencedPlane& plane, const Window& window,
                                   Direction direction) {
    std::vector<uint8_t> content = in.pixels(plane.size());
    const bool along_rows = direction == Direction::kVertical;
    const int lines = along_rows ? window.rows : window.cols;
    const int length = along_rows ? window.cols : window.rows;
    const int offset = along_rows ? window.first_col : window.first_row;
    for (int l = 0; l < lines; ++l) {
        const std::vector<uint8_t> line = sample_line(in, offset, length);
        for (int k = 0; k < length; ++k) {
            const int row = along_rows ? l : k, col = along_rows ? k : l;
            content[static_cast<size_t>(row * plane.stride() + col)] = line[static_cast<size_t>(k)];
        }
    }
    return content;
}

// How the plain filter treated the first luma edge's lines over all cases: a
// check that the inputs reach every path, not of the variants.
struct PathCounts {
    int untouched = 0, near_only = 0, far = 0;
};

void count_paths(const EdgeKernel& kernel, const std::vector<uint8_t>& before,
                 const std::vector<uint8_t>& after, int stride, PathCounts& counts) {
    const bool along_rows = kernel.direction == Direction::kVertical;
    const int origin_row = -kernel.luma.first_row, origin_col = -kernel.luma.first_col;
    for (int l = 0; l < 16; ++l) {
        auto changed = [&](int offset) {
            const int row = origin_row + (along_rows ? l : kernel.first_q0 + offset);
            const int col = origin_col + (along_rows ? kernel.first_q0 + offset : l);
            const auto i = static_cast<size_t>(row * stride + col);
            return before[i] != after[i];
        };
        const bool near = changed(-1) || changed(0);
        const bool far = kernel.reach > 1 && (changed(-kernel.reach) || changed(kernel.reach - 1));
        ++(far ? counts.far : near ? counts.near_only : counts.untouched);
    }
}

class LoopFilterVariants : public VariantTest {};

TEST_P(LoopFilterVariants, EveryEdgeOperationMatchesThePlainOne) {
    const FilterLevelTables& tables = filter_level_tables();
    const FencedBytes memory[6] = {FencedBytes(16 * 80), FencedBytes(16 * 80),
                                   FencedBytes(16 * 80), FencedBytes(16 * 80),
                                   FencedBytes(16 * 80), FencedBytes(16 * 80)};
    uint32_t seed = 0x100f;
    for (const EdgeKernel& kernel : kEdgeKernels) {
        SCOPED_TRACE(kernel.name);
        Inputs in(seed++);
        PathCounts paths;
        for (int c = 0; c < kCases; ++c) {
            const int y_stride = std::max(16, kernel.luma.cols) + in.uniform(0, 48);
            const int uv_stride = std::max(8, kernel.chroma.cols) + in.uniform(0, 40);
            const FencedBytes::Flush flush = flush_for_case(c);
            FencedPlane y(memory[0], kernel.luma, y_stride, flush);
            FencedPlane u(memory[1], kernel.chroma, uv_stride, flush);
            FencedPlane v(memory[2], kernel.chroma, uv_stride, flush);
            FencedPlane plain_y(memory[3], kernel.luma, y_stride, flush);
            FencedPlane plain_u(memory[4], kernel.chroma, uv_stride, flush);
            FencedPlane plain_v(memory[5], kernel.chroma, uv_stride, flush);
            const std::vector<uint8_t> y_in = plane_content(in, y, kernel.luma, kernel.direction);
            const std::vector<uint8_t> u_in = plane_content(in, u, kernel.chroma, kernel.direction);
            const std::vector<uint8_t> v_in = plane_content(in, v, kernel.chroma, kernel.direction);
            y.fill(y_in), plain_y.fill(y_in);
            u.fill(u_in), plain_u.fill(u_in);
            v.fill(v_in), plain_v.fill(v_in);
            const int level = in.uniform(0, 63), sharpness = in.uniform(0, 7);
            const int frame_type = in.uniform(0, 1);
            FilterLevelEntry entry = tables.entry(sharpness, frame_type, level);
            if (in.chance(50)) {
                const FilterLevelEntry& other =
                    tables.entry(in.uniform(0, 7), in.uniform(0, 1), in.uniform(0, 63));
                with_chroma_limits_of(other, entry);
            }

            (plain_.*kernel.member)(plain_y.at(), plain_u.at(), plain_v.at(), y_stride, uv_stride,
                                    entry);
            (variants_.*kernel.member)(y.at(), u.at(), v.at(), y_stride, uv_stride, entry);
            ASSERT_EQ(y.bytes(), plain_y.bytes())
                << "luma, case " << c << ", level " << level << ", sharpness " << sharpness
                << ", frame type " << frame_type;
            ASSERT_EQ(u.bytes(), plain_u.bytes()) << "U, case " << c << ", level " << level;
            ASSERT_EQ(v.bytes(), plain_v.bytes()) << "V, case " << c << ", level " << level;
            count_paths(kernel, y_in, plain_y.bytes(), y_stride, paths);
        }
        EXPECT_GT(paths.untouched, kCases) << "lines the filter leaves alone";
        EXPECT_GT(paths.near_only, kCases) << "lines where only p0 and q0 move";
        if (kernel.reach > 1) {
            EXPECT_GT(paths.far, kCases) << "lines where outer samples move";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, LoopFilterVariants, testing::ValuesIn(feature_sets()),
                         feature_set_name);

}  // namespace
}  // namespace vp8::test
