// Converting pictures into the picture surface.
#include "display/yuv_to_rgb.h"
#include "display_fixture.h"

namespace tavimor::testing {
namespace {

constexpr int kAll = kComponentY | kComponentU | kComponentV;

TEST(YuvToRgb, BlackWhiteAndClamping) {
    EXPECT_EQ(yuv_to_rgb(16, 128, 128, kAll), (Rgb{0, 0, 0}));
    // 219 x 1225732 lies just below 2^28: white without clamping.
    EXPECT_EQ(yuv_to_rgb(235, 128, 128, kAll), (Rgb{255, 255, 255}));
    EXPECT_EQ(yuv_to_rgb(255, 128, 128, kAll), (Rgb{255, 255, 255}));
    EXPECT_EQ(yuv_to_rgb(0, 128, 128, kAll), (Rgb{0, 0, 0}));
    // Saturated chroma clamps each channel on its own.
    EXPECT_EQ(yuv_to_rgb(16, 255, 255, kAll), (Rgb{203, 0, 255}));
    EXPECT_EQ(yuv_to_rgb(128, 0, 255, kAll).blue, 0);
    EXPECT_EQ(yuv_to_rgb(128, 255, 0, kAll).red, 0);
}

TEST(YuvToRgb, ComponentMask) {
    // Luma only: chroma counts as neutral, so the picture is grey.
    Rgb grey = yuv_to_rgb(128, 30, 220, kComponentY);
    EXPECT_EQ(grey.red, grey.green);
    EXPECT_EQ(grey.green, grey.blue);
    EXPECT_EQ(grey.red, (112 * 1225732) >> 20);
    // Nothing selected: black, whatever the samples.
    EXPECT_EQ(yuv_to_rgb(200, 30, 220, 0), (Rgb{0, 0, 0}));
    // V alone drives red up and green down, never blue.
    Rgb v_only = yuv_to_rgb(200, 30, 220, kComponentV);
    EXPECT_GT(v_only.red, 0);
    EXPECT_EQ(v_only.blue, 0);
}

TEST_F(DisplayTest, PixelsAreStoredAsBlueGreenRed) {
    ASSERT_EQ(display_init_surfaces(display_, 2, 2, 0, 0), 1);
    display_draw_picture(display_, &picture(2, 2, 235, 128, 128), kAll, 1);
    EXPECT_EQ(picture_pixel(0, 0), 0x00FFFFFFu);
    display_draw_picture(display_, &picture(2, 2, 81, 90, 240), kAll, 1);
    Rgb rgb = yuv_to_rgb(81, 90, 240, kAll);
    EXPECT_EQ(picture_pixel(1, 1),
              static_cast<uint32_t>(rgb.blue | rgb.green << 8 | rgb.red << 16));
}

TEST_F(DisplayTest, ChromaIsSharedByPairsOfColumnsAndRows) {
    ASSERT_EQ(display_init_surfaces(display_, 4, 4, 0, 0), 1);
    PlanarPicture& made = picture(4, 4, 128, 128, 128);
    made.chroma_rows[1][0][1] = 240;  // V for columns 2, 3 of rows 0, 1
    display_draw_picture(display_, &made, kAll, 1);
    EXPECT_EQ(picture_pixel(2, 0), picture_pixel(3, 1));
    EXPECT_NE(picture_pixel(1, 0), picture_pixel(2, 0));
    EXPECT_EQ(picture_pixel(2, 2), picture_pixel(0, 0));
}

TEST_F(DisplayTest, ZoomRepeatsRowsAndWhiteFillsTheRest) {
    ASSERT_EQ(display_init_surfaces(display_, 10, 4, 0, 0), 1);
    PlanarPicture& made = picture(4, 2, 16, 128, 128);
    std::fill_n(made.luma_rows[1], 4, 235);
    display_draw_picture(display_, &made, kAll, 2);
    for (int y : {0, 1}) EXPECT_EQ(picture_pixel(0, y), 0u) << y;
    for (int y : {2, 3}) EXPECT_EQ(picture_pixel(3, y), 0xFFFFFFu) << y;
    // Below the zoomed picture every byte is 0xFF, the fourth byte included.
    for (int y = 4; y < 10; ++y) EXPECT_EQ(picture_pixel(1, y), 0xFFFFFFFFu) << y;
}

TEST_F(DisplayTest, SmallPictureLeavesWhiteRowsBelow) {
    ASSERT_EQ(display_init_surfaces(display_, 8, 4, 0, 0), 1);
    display_draw_picture(display_, &picture(4, 4, 16, 128, 128), kAll, 1);
    EXPECT_EQ(picture_pixel(0, 3), 0u);
    EXPECT_EQ(picture_pixel(0, 4), 0xFFFFFFFFu);
    EXPECT_EQ(picture_pixel(3, 7), 0xFFFFFFFFu);
}

TEST_F(DisplayTest, PictureLargerThanTheSurfaceIsClipped) {
    ASSERT_EQ(display_init_surfaces(display_, 4, 4, 0, 0), 1);
    size_t bytes = display_->picture->pixels.size();
    // Wider, taller and zoomed beyond the surface: must stay inside it.
    display_draw_picture(display_, &picture(8, 6, 235, 128, 128), kAll, 3);
    EXPECT_EQ(display_->picture->pixels.size(), bytes);
    EXPECT_EQ(picture_pixel(3, 3), 0x00FFFFFFu);
}

TEST_F(DisplayTest, OddSizedPictureStaysInItsRows) {
    ASSERT_EQ(display_init_surfaces(display_, 4, 4, 0, 0), 1);
    PlanarPicture& made = picture(4, 4, 16, 128, 128);
    // A 3 x 3 view of it with 1 x 1 chroma: column 3 and row 3 must stay untouched.
    PlanarPicture odd = made;
    odd.width = 3;
    odd.height = 3;
    odd.chroma_width = 1;
    odd.chroma_height = 1;
    display_->picture->pixels.assign(display_->picture->pixels.size(), 0x55);
    display_draw_picture(display_, &odd, kAll, 1);
    EXPECT_EQ(picture_pixel(2, 2), 0u);
    EXPECT_EQ(picture_pixel(3, 0), 0x55555555u);
    EXPECT_EQ(picture_pixel(0, 3), 0xFFFFFFFFu);
}

TEST_F(DisplayTest, PictureWithoutChromaIsGrey) {
    ASSERT_EQ(display_init_surfaces(display_, 2, 2, 0, 0), 1);
    PlanarPicture& made = pictures_.emplace_back();
    ASSERT_TRUE(allocate_planar_picture(made, 2, 2, 0, 0));
    std::fill_n(made.luma_rows[0], 4, 128);
    display_draw_picture(display_, &made, kAll, 1);
    uint32_t pixel = picture_pixel(0, 0);
    EXPECT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF);
    EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF);
}

TEST_F(DisplayTest, ThreeAndTwoBytePixels) {
    bind(24);
    ASSERT_EQ(display_init_surfaces(display_, 2, 2, 0, 0), 1);
    EXPECT_EQ(display_->picture->bytes_per_pixel, 3);
    display_draw_picture(display_, &picture(2, 2, 81, 90, 240), kAll, 1);
    Rgb rgb = yuv_to_rgb(81, 90, 240, kAll);
    const uint8_t* bytes = display_->picture->at(1, 0);
    EXPECT_EQ(bytes[0], rgb.blue);
    EXPECT_EQ(bytes[1], rgb.green);
    EXPECT_EQ(bytes[2], rgb.red);

    bind(16);
    ASSERT_EQ(display_init_surfaces(display_, 2, 2, 0, 0), 1);
    display_draw_picture(display_, &picture(2, 2, 81, 90, 240), kAll, 1);
    EXPECT_EQ(picture_pixel(0, 1), static_cast<uint32_t>((rgb.blue >> 3) | (rgb.green >> 2) << 5 |
                                                         (rgb.red >> 3) << 11));
}

TEST_F(DisplayTest, NothingIsDrawnWithoutSurfacesOrPicture) {
    display_draw_picture(display_, &picture(2, 2, 16, 128, 128), kAll, 1);  // no surfaces yet
    ASSERT_EQ(display_init_surfaces(display_, 2, 2, 0, 0), 1);
    display_->picture->pixels.assign(display_->picture->pixels.size(), 0x11);
    display_draw_picture(display_, nullptr, kAll, 1);
    display_draw_picture(nullptr, &picture(2, 2, 16, 128, 128), kAll, 1);
    EXPECT_EQ(picture_pixel(0, 0), 0x11111111u);
}

}  // namespace
}  // namespace tavimor::testing
