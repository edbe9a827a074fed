// Binding, surfaces, composing, filling and presenting.
#include "display/pixel_format.h"
#include "display_fixture.h"
#include "platform/message_box.h"

namespace tavimor::testing {
namespace {

TEST_F(DisplayTest, SurfacesAreRefusedWithoutSizeOrWithNegativeOrigin) {
    EXPECT_EQ(display_init_surfaces(display_, 0, 16, 0, 0), 0);
    EXPECT_EQ(display_init_surfaces(display_, 16, -1, 0, 0), 0);
    EXPECT_EQ(display_init_surfaces(display_, 16, 16, -1, 0), 0);
    EXPECT_EQ(display_init_surfaces(display_, 16, 16, 0, -1), 0);
    EXPECT_EQ(display_init_surfaces(nullptr, 16, 16, 0, 0), 0);
    VideoDisplay* unbound = display_create();
    EXPECT_EQ(display_init_surfaces(unbound, 16, 16, 0, 0), 0);
    display_destroy(unbound);
    EXPECT_TRUE(platform_.message_boxes().empty());
}

TEST_F(DisplayTest, NewSurfacesKeepSizeOriginAndAWhiteComposition) {
    ASSERT_EQ(display_init_surfaces(display_, 24, 32, 100, 50), 1);
    EXPECT_EQ(display_->width, 32);
    EXPECT_EQ(display_->height, 24);
    EXPECT_EQ(display_->origin_x, 50);
    EXPECT_EQ(display_->origin_y, 100);
    EXPECT_EQ(composed_pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(composed_pixel(31, 23), 0x00FFFFFFu);
    EXPECT_EQ(display_->picture->colour_key_low, kPictureColourKey);
    display_release_surfaces(display_);
    EXPECT_FALSE(display_->composition);
    EXPECT_EQ(display_->width, 0);
    EXPECT_EQ(display_->origin_y, 0);
}

TEST_F(DisplayTest, UnpaintableWindowFailsTheBindingAndClosesTheWindow) {
    platform_.set_screen_bits_per_pixel(8);
    VideoDisplay* display = display_create();
    EXPECT_EQ(display_bind(display, &platform_, window_), 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text, "Failed to setup DirectDraw");
    EXPECT_EQ(platform_.message_boxes()[0].caption, "Warning");
    EXPECT_EQ(platform_.message_boxes()[0].style & mb::kIconMask, mb::kIconError);
    EXPECT_FALSE(platform_.is_window(window_));
    EXPECT_EQ(display_init_surfaces(display, 16, 16, 0, 0), 0);
    display_destroy(display);
    EXPECT_EQ(display_bind(nullptr, &platform_, window_), 0);
}

TEST_F(DisplayTest, ComposeCopiesThePictureAndFillClipsToTheSurface) {
    ASSERT_EQ(display_init_surfaces(display_, 4, 4, 0, 0), 1);
    display_draw_picture(display_, &picture(4, 4, 16, 128, 128), 7, 1);
    display_compose(display_);
    EXPECT_EQ(composed_pixel(3, 3), 0u);
    Rect beyond{2, 2, 40, 40};
    display_fill_rect(display_, 0x00123456, &beyond);
    EXPECT_EQ(composed_pixel(2, 2), 0x00123456u);
    EXPECT_EQ(composed_pixel(3, 3), 0x00123456u);
    EXPECT_EQ(composed_pixel(1, 1), 0u);
    display_fill_rect(display_, 0xFFFFFFFF, nullptr);
    EXPECT_EQ(composed_pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(picture_pixel(0, 0), 0u);  // the picture surface is left alone
}

TEST_F(DisplayTest, PresentPaintsAtTheOriginMinusTheScrollOffsets) {
    platform_.resize_client(window_, 64, 48);
    ASSERT_EQ(display_init_surfaces(display_, 20, 20, 10, 5), 1);
    display_fill_rect(display_, pack_pixel(255, 0, 0, 4), nullptr);
    Rect corner{0, 0, 2, 2};
    display_fill_rect(display_, pack_pixel(0, 0, 255, 4), &corner);
    ASSERT_EQ(display_present(display_, nullptr), 1);
    std::vector<uint32_t> client = platform_.client_pixels(window_);
    auto at = [&](int x, int y) { return client[static_cast<size_t>(y) * 64 + x]; };
    EXPECT_EQ(at(5, 10), 0x0000FFu);  // blue corner at the origin
    EXPECT_EQ(at(24, 29), 0xFF0000u);
    EXPECT_EQ(at(25, 30), 0xFFFFFFu);  // outside the picture nothing was painted
    // Scrolled by (1, 1): the picture's pixel (1, 1) lands on the origin.
    Rect scrolled{1, 1, 21, 21};
    ASSERT_EQ(display_present(display_, &scrolled), 1);
    client = platform_.client_pixels(window_);
    EXPECT_EQ(at(5, 10), 0x0000FFu);
    EXPECT_EQ(at(6, 11), 0xFF0000u);
}

TEST_F(DisplayTest, PresentNeedsSurfaces) {
    EXPECT_EQ(display_present(display_, nullptr), 0);
    EXPECT_EQ(platform_.present_count(window_), 0);
}

}  // namespace
}  // namespace tavimor::testing
