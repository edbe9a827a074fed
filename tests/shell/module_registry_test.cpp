#include "shell/module_registry.h"

#include <gtest/gtest.h>

#include "shell/planar_picture.h"

namespace tavimor {
namespace {

// A stand-in for the VP8 module, handed to the registry as main() hands the real one.
CodecModule* fake_vp8_module() {
    static CodecModule table{};
    return &table;
}

class RegistryWithVp8 {
  public:
    RegistryWithVp8() { provide_vp8_module(fake_vp8_module); }
    ~RegistryWithVp8() { provide_vp8_module(nullptr); }
};

TEST(ModuleRegistry, OnlyVp8StreamsFindAModule) {
    RegistryWithVp8 registry;
    CodecModule* vp8 = createVp8Module();
    ASSERT_NE(vp8, nullptr);
    EXPECT_EQ(selectModule(kStreamVp8, 0), vp8);
    EXPECT_EQ(selectModule(kStreamH264AnnexB, kCodecVp8), nullptr);
    EXPECT_EQ(selectModule(kStreamH264Rtp, kCodecVp8), nullptr);
    EXPECT_EQ(selectModule(kStreamYuv, kCodecVp8), nullptr);
}

TEST(ModuleRegistry, ContainersAndUnknownKindsGoByTheCodecFound) {
    RegistryWithVp8 registry;
    CodecModule* vp8 = createVp8Module();
    for (int kind : {kStreamMp4, kStreamTs, kStreamFlv, kStreamMkv, 8, 42}) {
        EXPECT_EQ(selectModule(kind, kCodecVp8), vp8) << kind;
        EXPECT_EQ(selectModule(kind, kCodecH264), nullptr) << kind;
        EXPECT_EQ(selectModule(kind, 0), nullptr) << kind;
    }
}

TEST(ModuleRegistry, WithoutAProvidedModuleNothingIsSelected) {
    provide_vp8_module(nullptr);
    EXPECT_EQ(createVp8Module(), nullptr);
    EXPECT_EQ(selectModule(kStreamVp8, kCodecVp8), nullptr);
}

TEST(PlanarPicture, RowsLieBackToBackAndChromaIsOptional) {
    PlanarPicture picture{};
    ASSERT_TRUE(allocate_planar_picture(picture, 6, 4, 3, 2));
    EXPECT_EQ(picture.luma_row_length, 6);
    EXPECT_EQ(picture.chroma_row_length, 3);
    for (int r = 1; r < 4; ++r) EXPECT_EQ(picture.luma_rows[r], picture.luma_rows[r - 1] + 6);
    EXPECT_EQ(picture.chroma_rows[1][1], picture.chroma_rows[1][0] + 3);
    EXPECT_EQ(picture.luma_rows[3][5], 0);
    release_planar_picture(picture);
    EXPECT_EQ(picture.luma_rows, nullptr);

    ASSERT_TRUE(allocate_planar_picture(picture, 4, 4, 0, 2));
    EXPECT_EQ(picture.chroma_rows, nullptr);
    release_planar_picture(picture);
}

}  // namespace
}  // namespace tavimor
