// The VP8 module set up as the shell sets it up, on the headless window
// system: main window, toolbar, menus, display and services.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless_platform.h"
#include "shell/codec_module.h"
#include "vp8dec/planar_picture.h"

namespace tavimor::test {

class ModuleFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the stream the way the shell does (registry, open, frame table).
    bool open(const std::string& path);
    // One step in the direction (1 forward, 0 backward).
    void step(int direction);
    // The MD5 of the Final picture currently shown, at the stream's display size.
    std::string shown_md5() const;
    // Decoded frames so far (the decoder's shown-frame count).
    int decoded_pictures() const;
    int64_t stream_position() const;

    HeadlessPlatform platform_;
    CodecModule* module_ = nullptr;
    std::string temp_;
};

// MD5 of the top-left width x height of a picture (chroma rounded up).
std::string md5_of(const vp8::PlanarPicture& picture, int width, int height);

}  // namespace tavimor::test
