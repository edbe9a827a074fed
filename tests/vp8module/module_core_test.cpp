// The module's stream reading and caching core: IVF framing, the picture
// cache, the growing frame table and the private folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "shell/frame_table.h"
#include "shell/private_folder.h"
#include "tests/support/test_paths.h"
#include "vp8module/ivf_reader.h"
#include "vp8module/picture_cache.h"
#include "vp8module/stream_survey.h"

namespace tavimor::test {
namespace {

class Scratch : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavimor-module-test-XXXXXX";
        folder_ = std::string(mkdtemp(pattern)) + "/";
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ + name, std::ios::binary) << bytes;
        return folder_ + name;
    }
    std::string folder_;
};

using IvfReading = Scratch;

TEST_F(IvfReading, FramesEndAndTruncation) {
    const std::string whole = read_file(data_path("tiny_1x1.ivf"));
    IvfReader reader;
    ASSERT_TRUE(reader.open(data_path("tiny_1x1.ivf")));
    EXPECT_EQ(reader.header().width, 1);
    std::vector<uint8_t> frame;
    int frames = 0;
    while (reader.read_frame(frame) == IvfStatus::kFrame) ++frames;
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(reader.read_frame(frame), IvfStatus::kEnd) << "the end stays the end";

    EXPECT_FALSE(reader.open(write("text.ivf", "not a stream at all, just words")));
    EXPECT_FALSE(reader.is_open());
    // A last frame cut short, a frame header cut short, and a size field far
    // beyond the file (refused before anything is allocated for it).
    ASSERT_TRUE(reader.open(write("cut.ivf", whole.substr(0, whole.size() - 1))));
    IvfStatus status;
    while ((status = reader.read_frame(frame)) == IvfStatus::kFrame) {
    }
    EXPECT_EQ(status, IvfStatus::kTruncated);
    ASSERT_TRUE(reader.open(write("header.ivf", whole.substr(0, 32 + 5))));
    EXPECT_EQ(reader.read_frame(frame), IvfStatus::kHeaderCut);
    std::string huge = whole.substr(0, 32 + 12);
    huge[32] = huge[33] = huge[34] = static_cast<char>(0xff);
    huge[35] = 0x7f;
    ASSERT_TRUE(reader.open(write("huge.ivf", huge)));
    std::vector<uint8_t> fresh;
    EXPECT_EQ(reader.read_frame(fresh), IvfStatus::kTruncated);
    EXPECT_EQ(fresh.capacity(), 0u);
}

using StreamSurveying = Scratch;

// The survey behind the stream graph counts the pictures the reader reads:
// a frame running past the end of the file (cut short, or with a size far
// beyond the file) is no picture, and its bits are nowhere.
TEST_F(StreamSurveying, AFrameRunningPastTheEndIsNoPicture) {
    const std::string whole = read_file(data_path("tiny_1x1.ivf"));
    ASSERT_EQ(survey_stream(data_path("tiny_1x1.ivf")).pictures.size(), 10u);
    EXPECT_EQ(survey_stream(write("cut.ivf", whole.substr(0, whole.size() - 1))).pictures.size(),
              9u);
    std::string huge = whole.substr(0, 32 + 12) + std::string(1, '\x10');
    huge[32] = huge[33] = huge[34] = huge[35] = static_cast<char>(0xff);
    EXPECT_TRUE(survey_stream(write("huge.ivf", huge)).pictures.empty());
}

using PictureCaching = Scratch;

TEST_F(PictureCaching, StoresAndRecallsThreePicturesPerEntry) {
    PictureCache cache;
    ASSERT_TRUE(cache.open(folder_));
    vp8::PlanarPicture pictures[2][3];
    int64_t offsets[2][3];
    for (int p = 0; p < 2; ++p) {
        const int width = p == 0 ? 32 : 48, height = 16;
        for (int n = 0; n < 3; ++n) {
            vp8::PlanarPicture& picture = pictures[p][n];
            ASSERT_TRUE(
                vp8::allocate_planar_picture(picture, width, height, width / 2, height / 2));
            for (int r = 0; r < height; ++r)
                for (int c = 0; c < width; ++c)
                    picture.luma_rows[r][c] = static_cast<uint8_t>(p * 100 + n * 10 + r + c);
            for (int plane = 0; plane < 2; ++plane)
                picture.chroma_rows[plane][3][5] = static_cast<uint8_t>(200 + plane + n);
        }
        const vp8::PlanarPicture* const stored[3] = {&pictures[p][0], &pictures[p][1],
                                                     &pictures[p][2]};
        for (int n = 0; n < 3; ++n)
            offsets[p][n] = p == 0 ? 0 : PictureCache::bytes_of(pictures[0][n]);
        ASSERT_TRUE(cache.store(stored, offsets[p]));
    }
    // Each file holds exactly its pictures, plane after plane, without a header.
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(std::filesystem::file_size(folder_ + "mbist_pic_" + std::to_string(n) + ".bin"),
                  32u * 16 * 3 / 2 + 48u * 16 * 3 / 2);
    EXPECT_EQ(offsets[1][2], 32 * 16 * 3 / 2);
    vp8::PlanarPicture back[3];
    for (vp8::PlanarPicture& picture : back)
        ASSERT_TRUE(vp8::allocate_planar_picture(picture, 32, 16, 16, 8));
    vp8::PlanarPicture* const into[3] = {&back[0], &back[1], &back[2]};
    ASSERT_TRUE(cache.recall(offsets[0], into));
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(back[n].luma_rows[7][9], pictures[0][n].luma_rows[7][9]);
        EXPECT_EQ(back[n].chroma_rows[1][3][5], 201 + n);
    }
    for (auto& row : pictures)
        for (vp8::PlanarPicture& picture : row) vp8::release_planar_picture(picture);
    for (vp8::PlanarPicture& picture : back) vp8::release_planar_picture(picture);
}

// Pictures viewed inside a larger frame (rows a stride apart, more rows than
// one system call takes) are stored row by row, packed, and recalled whole.
TEST_F(PictureCaching, StoresPicturesWhoseRowsLieApart) {
    constexpr int kWidth = 24, kHeight = 1400, kStride = 40;
    std::vector<uint8_t> frame(static_cast<size_t>(kStride) * kHeight * 2);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7 + i / 251);
    std::vector<uint8_t*> luma(kHeight), chroma[2];
    for (int r = 0; r < kHeight; ++r) luma[r] = &frame[static_cast<size_t>(r) * kStride];
    for (int plane = 0; plane < 2; ++plane)
        for (int r = 0; r < kHeight / 2; ++r)
            chroma[plane].push_back(
                &frame[static_cast<size_t>(kHeight + plane * kHeight / 2 + r) * kStride + 3]);
    uint8_t** chroma_tables[2] = {chroma[0].data(), chroma[1].data()};
    vp8::PlanarPicture view{};
    view.width = view.luma_row_length = kWidth;
    view.height = kHeight;
    view.chroma_width = view.chroma_row_length = kWidth / 2;
    view.chroma_height = kHeight / 2;
    view.luma_rows = luma.data();
    view.chroma_rows = chroma_tables;

    PictureCache cache;
    ASSERT_TRUE(cache.open(folder_));
    const vp8::PlanarPicture* const stored[3] = {&view, &view, &view};
    const int64_t offsets[3] = {0, 5, 4096};
    ASSERT_TRUE(cache.store(stored, offsets));
    EXPECT_EQ(std::filesystem::file_size(folder_ + "mbist_pic_2.bin"),
              4096u + kWidth * kHeight * 3 / 2);
    vp8::PlanarPicture back[3];
    for (vp8::PlanarPicture& picture : back)
        ASSERT_TRUE(
            vp8::allocate_planar_picture(picture, kWidth, kHeight, kWidth / 2, kHeight / 2));
    vp8::PlanarPicture* const into[3] = {&back[0], &back[1], &back[2]};
    ASSERT_TRUE(cache.recall(offsets, into));
    for (const vp8::PlanarPicture& picture : back) {
        for (int r = 0; r < kHeight; ++r)
            ASSERT_EQ(std::memcmp(picture.luma_rows[r], luma[r], kWidth), 0) << r;
        for (int plane = 0; plane < 2; ++plane)
            for (int r = 0; r < kHeight / 2; ++r)
                ASSERT_EQ(std::memcmp(picture.chroma_rows[plane][r], chroma[plane][r], kWidth / 2),
                          0)
                    << plane << " " << r;
    }
    // Past the end of a file there is nothing to recall.
    const int64_t beyond[3] = {0, 0, 1 << 20};
    EXPECT_FALSE(cache.recall(beyond, into));
    for (vp8::PlanarPicture& picture : back) vp8::release_planar_picture(picture);
}

TEST(FrameTableGrowth, EntriesPastFiveHundredTwelveAreKept) {
    FrameTable table;
    EXPECT_FALSE(table.valid(0));
    EXPECT_FALSE(table.valid(100000)) << "an index past the end is simply not cached";
    for (size_t i = 0; i < 600; ++i) table.fill(i).header_text_length = static_cast<int64_t>(i) + 1;
    EXPECT_GE(table.capacity(), 600u);
    for (size_t i = 0; i < 600; ++i)
        EXPECT_EQ(table.at(i).header_text_length, static_cast<int64_t>(i) + 1);
    EXPECT_FALSE(table.valid(600));
}

using PrivateFolder = Scratch;

TEST_F(PrivateFolder, OwnerOnlyAndNeverThroughAPlantedLink) {
    const auto folder = private_folder(folder_);
    ASSERT_TRUE(folder.has_value());
    struct stat info {};
    ASSERT_EQ(lstat(folder->c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(private_folder(folder_), folder) << "the same folder next time";

    // A link planted under the expected name is not followed.
    const std::string other = folder_ + "elsewhere/";
    std::filesystem::create_directory(other);
    std::filesystem::remove_all(*folder);
    std::filesystem::create_directory_symlink(other, folder->substr(0, folder->size() - 1));
    const auto safe = private_folder(folder_);
    ASSERT_TRUE(safe.has_value());
    EXPECT_NE(*safe, *folder);
    ASSERT_EQ(lstat(safe->c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace tavimor::test
