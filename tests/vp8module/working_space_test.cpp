// The working files' budget: freed space is used again before a file grows,
// the files shrink when their last pieces go, the pictures farthest from the
// one shown give their space first, and key frames are found for any picture.
#include <gtest/gtest.h>

#include "vp8module/file_space.h"
#include "vp8module/key_frame_index.h"
#include "vp8module/working_space.h"

namespace tavimor {
namespace {

TEST(FileSpace, FreedRangesAreReusedMergedAndCutFromTheEnd) {
    FileSpace space;
    EXPECT_EQ(space.place(100), 0);
    EXPECT_EQ(space.place(50), 100);
    EXPECT_EQ(space.place(70), 150);
    EXPECT_EQ(space.end(), 220);
    space.release(0, 100);
    EXPECT_EQ(space.place(120), 220) << "too long for the freed range: the file grows";
    EXPECT_EQ(space.place(60), 0) << "the first freed range that holds it";
    EXPECT_EQ(space.place(40), 60) << "the rest of that range";
    space.release(100, 50);
    space.release(60, 40);
    space.release(0, 60);
    EXPECT_EQ(space.place(150), 0) << "neighbouring freed ranges merge";
    space.release(220, 120);
    EXPECT_EQ(space.end(), 220) << "the last range freed: the file is cut";
    space.release(150, 70);
    space.release(0, 150);
    EXPECT_EQ(space.end(), 0);
    EXPECT_EQ(space.used(), 0);
}

TEST(WorkingSpace, PicturesFarthestFromTheShownOneMakeRoom) {
    WorkingSpace space;
    space.reset(1000);
    const PieceLengths lengths = {100, 50, 50, 20, 20, 10};  // 250 bytes
    for (int picture = 0; picture < 4; ++picture) {
        EXPECT_TRUE(space.make_room(250, picture).empty());
        space.store(picture, lengths);
    }
    EXPECT_EQ(space.used(), 1000);
    // Showing picture 1: picture 3 is farther than picture 0.
    EXPECT_EQ(space.make_room(250, 1), std::vector<int>{3});
    space.store(1, lengths);
    EXPECT_EQ(space.stored_count(), 3) << "storing a picture again replaces it";
    EXPECT_EQ(space.make_room(600, 0), (std::vector<int>{2, 1}));
    space.store(7, lengths);
    EXPECT_EQ(space.end(kFinalPictures), 200) << "the freed space was used, not the file's end";
    EXPECT_TRUE(space.stored(0) && space.stored(7) && !space.stored(1));
    // A budget smaller than one picture keeps the newest only.
    space.reset(100);
    space.store(0, lengths);
    EXPECT_EQ(space.make_room(250, 1), std::vector<int>{0});
    EXPECT_EQ(space.used(), 0);
}

TEST(WorkingSpace, ALimitReplacesTheDefaultBudget) {
    EXPECT_EQ(working_files_budget("/", 3), 3 << 20);
    const int64_t budget = working_files_budget("/", 0);
    EXPECT_GT(budget, 0);
    EXPECT_LE(budget, int64_t{4} << 30);
    EXPECT_EQ(working_files_budget("/no/such/folder", 0), int64_t{4} << 30);
}

TEST(KeyFrameIndex, EachPictureFindsTheLastKeyFrameBeforeIt) {
    KeyFrameIndex keys;
    EXPECT_EQ(keys.at_or_before(5), nullptr);
    keys.note(0, 32);
    keys.note(30, 9000);
    keys.note(30, 9000);  // read again after a jump back
    keys.note(10, 4000);
    EXPECT_EQ(keys.at_or_before(0)->position, 32);
    EXPECT_EQ(keys.at_or_before(29)->picture, 10);
    EXPECT_EQ(keys.at_or_before(30)->position, 9000);
    EXPECT_EQ(keys.at_or_before(1000)->picture, 30);
    // An invisible key frame and a shown one before the same picture: the later one.
    keys.note(30, 9500);
    EXPECT_EQ(keys.at_or_before(30)->position, 9500);
}

}  // namespace
}  // namespace tavimor
