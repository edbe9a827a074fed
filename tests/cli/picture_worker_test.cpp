#include "cli/picture_worker.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tavimor {
namespace {

std::vector<uint8_t> bytes_of(int64_t tag) {
    return std::vector<uint8_t>(1000 + static_cast<size_t>(tag), static_cast<uint8_t>(tag));
}

void produce(PictureWorker& worker, int count) {
    for (int64_t tag = 0; tag < count; ++tag) {
        std::vector<uint8_t>& buffer = worker.acquire();
        EXPECT_TRUE(buffer.empty());
        buffer = bytes_of(tag);
        worker.submit(tag);
    }
}

TEST(PictureWorker, HandlesEveryPictureInOrderWithItsOwnBytes) {
    std::vector<int64_t> handled;
    PictureWorker worker([&](int64_t tag, const std::vector<uint8_t>& bytes) {
        EXPECT_EQ(bytes, bytes_of(tag));
        handled.push_back(tag);
    });
    run_with_worker(worker, [&] { produce(worker, 50); });
    ASSERT_EQ(handled.size(), 50u);
    for (int64_t i = 0; i < 50; ++i) EXPECT_EQ(handled[static_cast<size_t>(i)], i);
}

TEST(PictureWorker, AFailingPictureStopsTheRunWithItsErrorAndDropsTheRest) {
    std::vector<int64_t> handled;
    PictureWorker worker([&](int64_t tag, const std::vector<uint8_t>&) {
        if (tag == 3) throw std::runtime_error("disk full");
        handled.push_back(tag);
    });
    EXPECT_THROW(
        {
            try {
                run_with_worker(worker, [&] { produce(worker, 40); });
            } catch (const std::runtime_error& error) {
                EXPECT_EQ(std::string(error.what()), "disk full");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_EQ(handled, (std::vector<int64_t>{0, 1, 2}));
}

TEST(PictureWorker, PicturesQueuedBeforeTheProducerFailsAreStillHandled) {
    std::vector<int64_t> handled;
    PictureWorker worker([&](int64_t tag, const std::vector<uint8_t>&) { handled.push_back(tag); });
    EXPECT_THROW(run_with_worker(worker,
                                 [&] {
                                     produce(worker, 5);
                                     throw std::logic_error("frame 5: truncated frame");
                                 }),
                 std::logic_error);
    EXPECT_EQ(handled, (std::vector<int64_t>{0, 1, 2, 3, 4}));
}

}  // namespace
}  // namespace tavimor
