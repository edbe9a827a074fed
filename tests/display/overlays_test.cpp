// The overlay palette and the drawing primitives.
#include <set>
#include <utility>

#include "display/overlay_palette.h"
#include "display/overlays.h"
#include "display/pixel_format.h"
#include "display/surface_canvas.h"
#include "display_fixture.h"

namespace tavimor::testing {
namespace {

using Pixels = std::set<std::pair<int, int>>;

TEST(OverlayColour, FixedEntriesAndComputedOnes) {
    EXPECT_EQ(overlay_colour(0), rgb(0, 255, 0));
    EXPECT_EQ(overlay_colour(2), rgb(255, 0, 255));
    EXPECT_EQ(overlay_colour(4), rgb(0, 0, 255));
    EXPECT_EQ(overlay_colour(5), kStartMarkerColour);
    EXPECT_EQ(overlay_colour(8), rgb(128, 64, 0));
    EXPECT_EQ(overlay_colour(9), rgb(9, 82, 40));
    EXPECT_EQ(overlay_colour(10), rgb(29, 50, 10));
    EXPECT_EQ(overlay_colour(12), rgb(72, 56, 24));
    EXPECT_EQ(overlay_colour(11), rgb(30, 60, 11));  // n mod 4 = 3 computes like 2
    // Channels wrap at 8 bits.
    EXPECT_EQ(overlay_colour(200),
              rgb((200 * 200 / 2) & 0xFF, (2 * 200 + 32) & 0xFF, (2 * 200) & 0xFF));
}

TEST(OverlayColour, NegativeAndHugeIndicesUseTheLowBits) {
    // -1 has the two low bits 3: R = n + 19, G = (n * n) >> 1, B = n, each wrapped.
    EXPECT_EQ(overlay_colour(-1), rgb(18, 0, 255));
    EXPECT_EQ(overlay_colour(-4), rgb(8, (-8 + 32) & 0xFF, (-8) & 0xFF));
    ColourRef huge = overlay_colour(1 << 30);  // no overflow trap, a defined colour
    EXPECT_EQ(huge, overlay_colour(1 << 30));
}

class OverlayTest : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_EQ(display_init_surfaces(display_, 32, 32, 0, 0), 1);
        display_fill_rect(display_, 0, nullptr);
    }

    Pixels coloured(uint32_t value) const {
        Pixels found;
        for (int y = 0; y < display_->composition->height; ++y)
            for (int x = 0; x < display_->composition->width; ++x)
                if (composed_pixel(x, y) == value) found.insert({x, y});
        return found;
    }
};

TEST_F(OverlayTest, OutlineLeavesItsCornersAndReachesOneBeyond) {
    draw_rect_outline(display_, overlay_colour(4), 0, 0, 16, 16);
    Pixels expected;
    for (int i = 1; i <= 15; ++i) {
        expected.insert({i, 0});
        expected.insert({i, 16});
        expected.insert({0, i});
        expected.insert({16, i});
    }
    EXPECT_EQ(coloured(pack_colour(overlay_colour(4), 4)), expected);
}

TEST_F(OverlayTest, OutlineAtTheRightEdgeUsesTheLastColumn) {
    draw_rect_outline(display_, overlay_colour(0), 16, 16, 16, 16);
    Pixels drawn = coloured(pack_colour(overlay_colour(0), 4));
    EXPECT_TRUE(drawn.contains({31, 20}));  // right side kept on the last column
    EXPECT_TRUE(drawn.contains({20, 31}));  // bottom side on the last row
    // Clamped, the right and bottom sides meet in the surface's last pixel.
    EXPECT_TRUE(drawn.contains({31, 31}));
    EXPECT_EQ(drawn.size(), 4u * 15u - 1u);
}

TEST_F(OverlayTest, OutlineOutsideTheSurfaceIsClipped) {
    size_t bytes = display_->composition->pixels.size();
    draw_rect_outline(display_, overlay_colour(1), -8, 24, 64, 64);
    draw_rect_outline(display_, overlay_colour(1), 40, 40, 16, 16);
    EXPECT_EQ(display_->composition->pixels.size(), bytes);
    Pixels drawn = coloured(pack_colour(overlay_colour(1), 4));
    EXPECT_TRUE(drawn.contains({0, 24}));
    EXPECT_TRUE(drawn.contains({31, 25}));  // right side clamped to the surface
}

TEST_F(OverlayTest, LineLeavesItsEndAndMarksItsStart) {
    draw_line(display_, 2, 2, 10, 2, overlay_colour(0), true);
    Pixels green = coloured(pack_colour(overlay_colour(0), 4));
    Pixels expected;
    for (int x = 3; x <= 9; ++x) expected.insert({x, 2});
    EXPECT_EQ(green, expected);
    EXPECT_EQ(coloured(pack_colour(kStartMarkerColour, 4)), (Pixels{{2, 2}}));
}

TEST_F(OverlayTest, LineWithEqualEndsSetsOnlyTheMarker) {
    draw_line(display_, 5, 6, 5, 6, overlay_colour(0), true);
    EXPECT_EQ(coloured(pack_colour(kStartMarkerColour, 4)), (Pixels{{5, 6}}));
    EXPECT_TRUE(coloured(pack_colour(overlay_colour(0), 4)).empty());
    draw_line(display_, 7, 7, 7, 7, overlay_colour(0), false);
    EXPECT_EQ(coloured(0).size(), 32u * 32u - 1u);
}

TEST_F(OverlayTest, DiagonalLineAndLinesLeavingTheSurface) {
    draw_line(display_, 0, 0, 4, 4, overlay_colour(1), false);
    EXPECT_EQ(coloured(pack_colour(overlay_colour(1), 4)),
              (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    draw_line(display_, 30, 30, 100, 100, overlay_colour(2), false);
    EXPECT_EQ(coloured(pack_colour(overlay_colour(2), 4)), (Pixels{{30, 30}, {31, 31}}));
}

TEST_F(OverlayTest, TextGoesOnThePictureSurfaceInDarkRed) {
    display_draw_picture(display_, &picture(32, 32, 235, 128, 128), 7, 1);
    draw_text(display_, "88", 2, 2);
    uint32_t dark_red = pack_colour(kOverlayTextColour, 4);
    int inside = 0, outside = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (picture_pixel(x, y) != dark_red) continue;
            (x >= 2 && y >= 2 && y < 12 && x < 20 ? inside : outside)++;
        }
    }
    EXPECT_GT(inside, 4);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(coloured(dark_red).size(), 0u);  // the composition surface is untouched
}

TEST_F(OverlayTest, TextNearTheEdgeIsClipped) {
    display_draw_picture(display_, &picture(32, 32, 235, 128, 128), 7, 1);
    size_t bytes = display_->picture->pixels.size();
    draw_text(display_, "123456789", 28, 28);
    draw_text(display_, "1", -4, -4);
    EXPECT_EQ(display_->picture->pixels.size(), bytes);
}

TEST(Histogram, AxesThenTheCurveFromTheLastValueBack) {
    // Drawn on a surface big enough for the plot.
    Surface surface;
    ASSERT_TRUE(allocate_surface(surface, 300, 220, 4));
    SurfaceCanvas canvas(surface);
    int32_t values[256] = {};
    values[0] = 128;
    values[255] = 64;
    values[100] = 0x150;  // only the low 8 bits count: 80
    draw_histogram(canvas, 30, 70, 286, 198, values);
    uint32_t red = pack_colour(rgb(255, 0, 0), 4);
    EXPECT_EQ(surface_pixel(surface, 30, 70), red);    // top of the vertical axis
    EXPECT_EQ(surface_pixel(surface, 30, 197), red);   // its bottom, end point excluded
    EXPECT_EQ(surface_pixel(surface, 285, 198), red);  // the horizontal axis
    EXPECT_EQ(surface_pixel(surface, 286, 198), 0u);
    EXPECT_EQ(surface_pixel(surface, 30 + 255, 198 - 64), red);  // the curve starts at value 255
    EXPECT_EQ(surface_pixel(surface, 30 + 100, 198 - 80), red);
    // The curve ends at value 0's point, which is its end point and stays unset.
    EXPECT_EQ(surface_pixel(surface, 30, 198 - 128), red);  // also on the axis
    EXPECT_EQ(surface_pixel(surface, 31, 198 - 128), 0u);
}

TEST(Histogram, RestoresThePenItFound) {
    HeadlessPlatform platform;
    WindowHandle window = platform.create_main_window("test", nullptr);
    ColourRef seen = 0;
    WindowHandle dialog = platform.create_dialog(
        "PICANALYZERDLG", window,
        [&](WindowHandle, unsigned message, uintptr_t, intptr_t second) -> intptr_t {
            if (message != msg::kPaint || !second) return 0;
            Canvas& canvas = *paint_canvas(second);
            canvas.select_pen(rgb(1, 2, 3));
            int32_t values[256] = {};
            draw_histogram(canvas, 30, 70, 286, 198, values);
            seen = canvas.select_pen(0);
            return 0;
        });
    auto lines = platform.paint(dialog);
    EXPECT_EQ(seen, rgb(1, 2, 3));
    ASSERT_EQ(lines.size(), 2u + 255u);
    EXPECT_EQ(lines[0].from, (Point{30, 70}));
    EXPECT_EQ(lines[1].to, (Point{286, 198}));
    EXPECT_EQ(lines[2].from, (Point{285, 198}));
    EXPECT_EQ(lines.back().to, (Point{30, 198}));
    for (const auto& line : lines) EXPECT_EQ(line.colour, rgb(255, 0, 0));
}

}  // namespace
}  // namespace tavimor::testing
