// A display bound to a headless main window, with helpers to make pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "display/video_display.h"
#include "platform/headless/headless_platform.h"

namespace tavimor::testing {

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override { bind(32); }
    void TearDown() override {
        display_destroy(display_);
        for (PlanarPicture& picture : pictures_) release_planar_picture(picture);
    }

    void bind(int bits_per_pixel) {
        if (display_) display_destroy(display_);
        platform_.set_screen_bits_per_pixel(bits_per_pixel);
        window_ = platform_.create_main_window("test", nullptr);
        display_ = display_create();
        ASSERT_EQ(display_bind(display_, &platform_, window_), 1);
    }

    // A picture of uniform samples.
    PlanarPicture& picture(int width, int height, uint8_t y, uint8_t u, uint8_t v) {
        PlanarPicture& made = pictures_.emplace_back();
        EXPECT_TRUE(allocate_planar_picture(made, width, height, width / 2, height / 2));
        for (int r = 0; r < height; ++r) std::fill_n(made.luma_rows[r], width, y);
        for (int r = 0; r < height / 2; ++r) {
            std::fill_n(made.chroma_rows[0][r], width / 2, u);
            std::fill_n(made.chroma_rows[1][r], width / 2, v);
        }
        return made;
    }

    uint32_t picture_pixel(int x, int y) const { return surface_pixel(*display_->picture, x, y); }
    uint32_t composed_pixel(int x, int y) const {
        return surface_pixel(*display_->composition, x, y);
    }

    HeadlessPlatform platform_;
    WindowHandle window_ = kNoWindow;
    VideoDisplay* display_ = nullptr;
    std::vector<PlanarPicture> pictures_;
};

}  // namespace tavimor::testing
