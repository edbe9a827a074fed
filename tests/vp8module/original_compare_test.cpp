// Comparing a stream with its original: the originals accepted and refused,
// and the PSNR of every picture against pictures made from the decoded ones.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "tests/support/test_decoder.h"
#include "tests/support/test_paths.h"
#include "vp8module/reference_video.h"
#include "vp8module/stream_survey.h"

namespace tavimor::test {
namespace {

constexpr int kWidth = 320, kHeight = 240;

class OriginalCompare : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        pictures_ = new std::vector<std::string>(decoded_i420_pictures(stream()));
    }
    static void TearDownTestSuite() { delete pictures_; }
    void SetUp() override {
        char pattern[] = "/tmp/tavimor-original-test-XXXXXX";
        folder_ = std::string(mkdtemp(pattern)) + "/";
        ASSERT_EQ(pictures_->size(), 60u);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    static std::string stream() { return data_path("sample_320x240.ivf"); }
    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ + name, std::ios::binary) << bytes;
        return folder_ + name;
    }
    // The decoded pictures, each changed by `change`, as raw I420.
    template <typename Change>
    std::string raw(Change change, size_t count = 60) {
        std::string bytes;
        for (size_t i = 0; i < count; ++i) {
            std::string picture = (*pictures_)[i];
            change(picture);
            bytes += picture;
        }
        return bytes;
    }
    std::string y4m(const std::string& header, const std::string& raw_bytes) {
        const size_t picture = kWidth * kHeight * 3 / 2;
        std::string bytes = header + "\n";
        for (size_t at = 0; at < raw_bytes.size(); at += picture)
            bytes += "FRAME\n" + raw_bytes.substr(at, picture);
        return bytes;
    }
    StreamPsnr compare(const std::string& path) {
        std::string failure;
        auto original = ReferenceVideo::open(path, kWidth, kHeight, failure);
        EXPECT_TRUE(original) << failure;
        return original ? compare_stream(stream(), *original) : StreamPsnr{};
    }
    std::string refusal(const std::string& bytes) {
        std::string failure;
        EXPECT_FALSE(ReferenceVideo::open(write("refused", bytes), kWidth, kHeight, failure));
        return failure;
    }

    static std::vector<std::string>* pictures_;
    std::string folder_;
};

std::vector<std::string>* OriginalCompare::pictures_ = nullptr;

const auto kUnchanged = [](std::string&) {};

// +2 on every tenth luma sample (-2 where that would pass 255).
const auto kEveryTenthLumaSample = [](std::string& picture) {
    for (size_t i = 0; i < size_t{kWidth} * kHeight; i += 10) {
        auto& sample = reinterpret_cast<uint8_t&>(picture[i]);
        sample = sample > 253 ? sample - 2 : sample + 2;
    }
};

TEST_F(OriginalCompare, TheDecodedPicturesAreIdenticalToThemselves) {
    const StreamPsnr psnr = compare(write("same.yuv", raw(kUnchanged)));
    ASSERT_EQ(psnr.pictures.size(), 60u);
    EXPECT_EQ(psnr.compared(), 60);
    EXPECT_EQ(psnr.identical(), 60);
    EXPECT_FALSE(psnr.average());
    EXPECT_FALSE(psnr.minimum());
}

TEST_F(OriginalCompare, AKnownErrorGivesTheHandComputedPsnr) {
    // 7680 of 76800 luma samples off by 2: MSE 0.4, so Y = 10 log10(255^2 / 0.4)
    // = 52.11 dB; U and V are equal; all three weigh (6 * 0.4 + 0 + 0) / 8 = 0.3,
    // so 10 log10(255^2 / 0.3) = 53.36 dB.
    const std::string bytes = raw(kEveryTenthLumaSample);
    for (const std::string& path :
         {write("pattern.yuv", bytes),
          write("pattern.y4m", y4m("YUV4MPEG2 W320 H240 F30000:1001 Ip A1:1 C420jpeg", bytes))}) {
        const StreamPsnr psnr = compare(path);
        ASSERT_EQ(psnr.compared(), 60) << path;
        EXPECT_EQ(psnr.identical(), 0);
        for (const auto& picture : psnr.pictures) {
            EXPECT_EQ(psnr_value(picture->y), "52.11");
            EXPECT_EQ(psnr_value(picture->u), "100.00");
            EXPECT_EQ(psnr_value(picture->v), "100.00");
            EXPECT_EQ(psnr_value(picture->all), "53.36");
        }
        EXPECT_EQ(psnr_value(psnr.average()->all), "53.36");
    }
    std::string failure;
    auto original = ReferenceVideo::open(folder_ + "pattern.y4m", kWidth, kHeight, failure);
    ASSERT_TRUE(original);
    EXPECT_NEAR(original->frame_rate(), 29.97, 0.01);
    EXPECT_EQ(original->pictures(), 60);
}

TEST_F(OriginalCompare, TheLowestPictureIsNamedAndIdenticalOnesStayOutOfTheAverage) {
    int n = 0;
    const StreamPsnr psnr =
        compare(write("mixed.yuv", raw([&](std::string& picture) {
                          if (n % 2 || n == 6) kEveryTenthLumaSample(picture);
                          if (n++ == 6)
                              picture[1] = static_cast<char>(picture[1] ^ 0x40);  // and one 64 off
                      })));
    EXPECT_EQ(psnr.identical(), 29);  // pictures 1, 3, 5, 9...
    ASSERT_TRUE(psnr.minimum());
    EXPECT_EQ(psnr.minimum()->first, 7);
    EXPECT_LT(psnr.minimum()->second.all, 53.36);
    EXPECT_NEAR(psnr.average()->y, 52.11, 0.02);  // picture 7 pulls it down a little
}

TEST_F(OriginalCompare, AShorterOriginalLeavesTheLaterPicturesUncompared) {
    const StreamPsnr psnr = compare(write("short.yuv", raw(kUnchanged, 20)));
    ASSERT_EQ(psnr.pictures.size(), 60u);
    EXPECT_EQ(psnr.compared(), 20);
    EXPECT_TRUE(psnr.pictures[19]);
    EXPECT_FALSE(psnr.pictures[20]);
    EXPECT_FALSE(psnr.pictures[59]);
}

TEST_F(OriginalCompare, OriginalsThatCannotBeUsedAreRefusedWithTheReason) {
    const std::string picture = (*pictures_)[0];
    EXPECT_EQ(refusal(y4m("YUV4MPEG2 W176 H144 F30:1", std::string(176 * 144 * 3 / 2, 'x'))),
              "the original is 176x144, the stream 320x240");
    EXPECT_EQ(refusal(picture.substr(1)),
              "the file's size is no whole number of 320x240 I420 pictures");
    EXPECT_EQ(refusal(""), "the file holds no picture");
    EXPECT_EQ(refusal(y4m("YUV4MPEG2 W320 H240 C444", picture)),
              "the original's pictures are 444, not 4:2:0");
    EXPECT_EQ(refusal(y4m("YUV4MPEG2 W320 H240 C420p10", picture)),
              "the original's pictures are 420p10, not 4:2:0");
    EXPECT_EQ(refusal(y4m("YUV4MPEG2 F25:1", picture)),
              "the YUV4MPEG2 header gives no picture size");
    EXPECT_EQ(refusal("YUV4MPEG2 " + std::string(5000, 'W')),
              "the YUV4MPEG2 header cannot be read");
    // A last picture cut short is left out, not read past the end.
    std::string failure;
    auto cut = ReferenceVideo::open(
        write("cut.y4m", y4m("YUV4MPEG2 W320 H240", picture + picture).substr(0, 200000)), kWidth,
        kHeight, failure);
    ASSERT_TRUE(cut) << failure;
    EXPECT_EQ(cut->pictures(), 1);
    EXPECT_FALSE(ReferenceVideo::open(folder_ + "missing.yuv", kWidth, kHeight, failure));
    EXPECT_EQ(failure, "the file " + folder_ + "missing.yuv cannot be read");
}

}  // namespace
}  // namespace tavimor::test
