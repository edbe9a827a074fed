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

TEST(PictureWorker, NoPictureIsOverwrittenWhileAnOlderOneIsStillBeingHandled) {
    // The producer writes picture n where picture n - slots was, as soon as
    // it has acquired the slot for n: that is all the decoder's held pictures
    // promise. A worker slow on some pictures makes the producer help with
    // the ones after them; the slow ones must still be finished first.
    constexpr int kSlots = 3;
    // Overwritten in place, as the decoder does its frame buffers.
    std::vector<std::vector<uint8_t>> memory(kSlots, std::vector<uint8_t>(2000));
    const std::thread::id producer = std::this_thread::get_id();
    std::mutex mutex;
    std::multiset<int64_t> handled;
    PictureWorker worker(
        [&](int64_t tag, const PictureJob& job) {
            const std::vector<uint8_t> before(job.rows[0].first,
                                              job.rows[0].first + job.rows[0].second);
            if (std::this_thread::get_id() != producer && tag % 4 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const std::vector<uint8_t> after(job.rows[0].first,
                                             job.rows[0].first + job.rows[0].second);
            EXPECT_EQ(before, bytes_of(tag)) << tag;
            EXPECT_EQ(after, bytes_of(tag)) << tag;
            std::lock_guard<std::mutex> lock(mutex);
            handled.insert(tag);
        },
        kSlots, PictureWorker::Sharing::kProducerHelps);
    run_with_worker(worker, [&] {
        for (int64_t tag = 0; tag < 60; ++tag) {
            PictureJob& job = worker.acquire();
            const std::vector<uint8_t> bytes = bytes_of(tag);
            uint8_t* place = memory[static_cast<size_t>(tag % kSlots)].data();
            std::copy(bytes.begin(), bytes.end(), place);
            job.rows.emplace_back(place, bytes.size());
            worker.submit(tag);
            // Time for the worker to take the picture up, slowly or not.
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });
    ASSERT_EQ(handled.size(), 60u);
    for (int64_t tag = 0; tag < 60; ++tag) EXPECT_EQ(handled.count(tag), 1u) << tag;
}

TEST(PictureWorker, BatchesHoldUpToTheBatchAndOnlyTheLastIsShort) {
    std::vector<std::vector<int64_t>> batches;
    PictureWorker worker(
        [&](const std::vector<TaggedPicture>& pictures) {
            std::vector<int64_t> tags;
            for (const TaggedPicture& picture : pictures) {
                std::vector<uint8_t> pieces;
                picture.picture->for_each_piece([&](const uint8_t* bytes, size_t size) {
                    pieces.insert(pieces.end(), bytes, bytes + size);
                });
                EXPECT_EQ(pieces, picture_of(picture.tag));
                tags.push_back(picture.tag);
            }
            batches.push_back(tags);
        },
        4, 6, PictureWorker::Sharing::kWorkerAlone);
    run_with_worker(worker, [&] { produce(worker, 23); });
    std::vector<int64_t> all;
    for (size_t b = 0; b < batches.size(); ++b) {
        EXPECT_EQ(batches[b].size(), b + 1 < batches.size() ? 4u : 3u) << "batch " << b;
        all.insert(all.end(), batches[b].begin(), batches[b].end());
    }
    ASSERT_EQ(all.size(), 23u);
    for (int64_t i = 0; i < 23; ++i) EXPECT_EQ(all[static_cast<size_t>(i)], i);
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
