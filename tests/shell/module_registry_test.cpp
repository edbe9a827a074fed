#include "shell/module_registry.h"

#include <gtest/gtest.h>

#include "shell/planar_picture.h"

namespace tavimor {
namespace {

TEST(ModuleRegistry, OnlyVp8StreamsFindAModule) {
    CodecModule* vp8 = createVp8Module();
    ASSERT_NE(vp8, nullptr);
    EXPECT_EQ(selectModule(kStreamVp8, 0), vp8);
    EXPECT_EQ(selectModule(kStreamH264AnnexB, kCodecVp8), nullptr);
    EXPECT_EQ(selectModule(kStreamH264Rtp, kCodecVp8), nullptr);
    EXPECT_EQ(selectModule(kStreamYuv, kCodecVp8), nullptr);
}

TEST(ModuleRegistry, ContainersAndUnknownKindsGoByTheCodecFound) {
    CodecModule* vp8 = createVp8Module();
    for (int kind : {kStreamMp4, kStreamTs, kStreamFlv, kStreamMkv, 8, 42}) {
        EXPECT_EQ(selectModule(kind, kCodecVp8), vp8) << kind;
        EXPECT_EQ(selectModule(kind, kCodecH264), nullptr) << kind;
        EXPECT_EQ(selectModule(kind, 0), nullptr) << kind;
    }
}

TEST(ModuleRegistry, TheVp8TableIsFilledOnceAndKept) {
    CodecModule* first = createVp8Module();
    ASSERT_NE(first->is_open, nullptr);
    ASSERT_NE(first->refresh, nullptr);
    ASSERT_NE(first->state, nullptr);
    auto kept = first->tick;
    first->tick = nullptr;  // a refill would put the operation back
    CodecModule* second = createVp8Module();
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->tick, nullptr);
    first->tick = kept;
}

TEST(ModuleRegistry, ModulesWithoutAStreamAnswerSafely) {
    CodecModule* vp8 = createVp8Module();
    EXPECT_EQ(vp8->is_open(0), 0);
    vp8->close();  // closing with nothing open is harmless
    EXPECT_EQ(vp8->refresh(1), 0);
    EXPECT_EQ(vp8->is_open(0), 0);
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
