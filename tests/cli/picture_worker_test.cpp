#include "cli/picture_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cli/lines_in_order.h"

namespace tavimor {
namespace {

std::vector<uint8_t> bytes_of(int64_t tag) {
    return std::vector<uint8_t>(1000 + static_cast<size_t>(tag), static_cast<uint8_t>(tag));
}

// Rows held apart from the slots, three of a different length per picture.
const std::vector<uint8_t>& rows_memory() {
    static const std::vector<uint8_t> memory = [] {
        std::vector<uint8_t> bytes(4096);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
        return bytes;
    }();
    return memory;
}

size_t row_start(int64_t tag, int row) {
    return static_cast<size_t>(tag * 13 + row * 100) % 1000;
}

// What a picture's pieces give in order: its copied bytes, then its rows.
std::vector<uint8_t> picture_of(int64_t tag) {
    std::vector<uint8_t> all = bytes_of(tag);
    for (int row = 0; row < 3; ++row) {
        const auto first = rows_memory().begin() + static_cast<ptrdiff_t>(row_start(tag, row));
        all.insert(all.end(), first, first + 10 + row);
    }
    return all;
}

void produce(PictureWorker& worker, int count) {
    for (int64_t tag = 0; tag < count; ++tag) {
        PictureJob& job = worker.acquire();
        EXPECT_TRUE(job.copied.empty());
        EXPECT_TRUE(job.rows.empty());
        job.copied = bytes_of(tag);
        for (int row = 0; row < 3; ++row)
            job.rows.emplace_back(rows_memory().data() + row_start(tag, row), 10 + row);
        worker.submit(tag);
    }
}

TEST(PictureWorker, HandlesEveryPictureInOrderWithItsOwnBytesThenItsRows) {
    std::vector<int64_t> handled;
    PictureWorker worker([&](int64_t tag, const PictureJob& job) {
        std::vector<uint8_t> pieces;
        job.for_each_piece([&](const uint8_t* bytes, size_t size) {
            pieces.insert(pieces.end(), bytes, bytes + size);
        });
        EXPECT_EQ(pieces, picture_of(tag));
        handled.push_back(tag);
    });
    run_with_worker(worker, [&] { produce(worker, 50); });
    ASSERT_EQ(handled.size(), 50u);
    for (int64_t i = 0; i < 50; ++i) EXPECT_EQ(handled[static_cast<size_t>(i)], i);
}

TEST(PictureWorker, AFailingPictureStopsTheRunWithItsErrorAndDropsTheRest) {
    std::vector<int64_t> handled;
    PictureWorker worker([&](int64_t tag, const PictureJob&) {
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
    PictureWorker worker([&](int64_t tag, const PictureJob&) { handled.push_back(tag); });
    EXPECT_THROW(run_with_worker(worker,
                                 [&] {
                                     produce(worker, 5);
                                     throw std::logic_error("frame 5: truncated frame");
                                 }),
                 std::logic_error);
    EXPECT_EQ(handled, (std::vector<int64_t>{0, 1, 2, 3, 4}));
}

TEST(PictureWorker, AHelpingProducerHandlesPicturesOfItsOwnAndEachOnce) {
    // A slow handler fills the slots, so the producer takes pictures too; each
    // is still handled once, with its own bytes and rows.
    const std::thread::id producer = std::this_thread::get_id();
    std::mutex mutex;
    std::multiset<int64_t> handled;
    int by_producer = 0;
    PictureWorker worker(
        [&](int64_t tag, const PictureJob& job) {
            std::vector<uint8_t> pieces;
            job.for_each_piece([&](const uint8_t* bytes, size_t size) {
                pieces.insert(pieces.end(), bytes, bytes + size);
            });
            EXPECT_EQ(pieces, picture_of(tag));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            std::lock_guard<std::mutex> lock(mutex);
            handled.insert(tag);
            if (std::this_thread::get_id() == producer) ++by_producer;
        },
        kPictureWorkerSlots, PictureWorker::Sharing::kProducerHelps);
    run_with_worker(worker, [&] { produce(worker, 40); });
    ASSERT_EQ(handled.size(), 40u);
    for (int64_t tag = 0; tag < 40; ++tag) EXPECT_EQ(handled.count(tag), 1u) << tag;
    EXPECT_GT(by_producer, 0);
}

TEST(LinesInOrder, WritesLinesFinishedOutOfOrderInTheirOrder) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    ASSERT_NE(out, nullptr);
    {
        LinesInOrder lines(out);
        for (int64_t number : {2, 0, 1, 5, 3, 4}) lines.add(number, std::to_string(number) + ";");
    }
    std::fclose(out);
    EXPECT_EQ(std::string(text, size), "0;1;2;3;4;5;");
    std::free(text);
}

}  // namespace
}  // namespace tavimor
