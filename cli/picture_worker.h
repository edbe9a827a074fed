// Hands decoded pictures to a second thread that hashes or writes them, so
// that this work overlaps the decoding of the next frames. A picture is a few
// bytes copied in (a header, say) and rows read in place, from buffers the
// decoder holds for kPictureWorkerSlots pictures (DecoderConfig's
// held_pictures); pictures are handled strictly in order, unless the producer
// may help. A handler may take several pictures at a time (hashing them side
// by side, say): the worker then waits until that many are queued, or until
// the last ones are.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace tavimor {

// Pictures queued or being handled at most: a picture's rows must stay
// readable until the producer has acquired this many later slots.
inline constexpr int kPictureWorkerSlots = 3;

// One picture: its bytes are the copied ones, then the rows in order.
struct PictureJob {
    std::vector<uint8_t> copied;
    std::vector<std::pair<const uint8_t*, size_t>> rows;

    template <typename Fn>
    void for_each_piece(Fn fn) const {
        if (!copied.empty()) fn(copied.data(), copied.size());
        for (const auto& [row, size] : rows) fn(row, size);
    }
};

struct TaggedPicture {
    int64_t tag;
    const PictureJob* picture;
};

class PictureWorker {
  public:
    // Handles one picture on the worker thread; may throw, and the exception
    // then reaches the producer at its next call.
    using Handler = std::function<void(int64_t tag, const PictureJob& picture)>;
    // Handles up to a batch of pictures, oldest first.
    using BatchHandler = std::function<void(const std::vector<TaggedPicture>& pictures)>;

    // Who handles the pictures: the worker alone, one after the other; or,
    // when each picture's handling stands on its own (hashing, say), also the
    // producer, which then takes the oldest picture queued instead of waiting
    // for a free slot. Helped pictures may finish out of order.
    enum class Sharing { kWorkerAlone, kProducerHelps };

    explicit PictureWorker(Handler handler, int slots = kPictureWorkerSlots,
                           Sharing sharing = Sharing::kWorkerAlone);
    // Pictures handled up to `batch` at a time (at most `slots`: the slots
    // are the pictures the decoder holds).
    PictureWorker(BatchHandler handler, int batch, int slots, Sharing sharing);
    PictureWorker(const PictureWorker&) = delete;
    PictureWorker& operator=(const PictureWorker&) = delete;
    // Waits for the pictures already queued; an exception not yet reported is dropped.
    ~PictureWorker();

    // A cleared slot to fill with the next picture; waits until one is free
    // and every picture as many pictures back as there are slots is handled
    // (helped pictures finish out of order: a free slot alone does not say
    // that the oldest one is done). Rethrows the handler's exception, if one
    // was thrown.
    PictureJob& acquire();
    // Queues the slot last acquired, to be handled with the given tag.
    void submit(int64_t tag);
    // Waits until every queued picture is handled, then rethrows the
    // handler's exception, if one was thrown.
    void finish();

  private:
    void run();
    void rethrow_failure();
    // Whether the worker has a batch to take: a whole one, or the last pictures.
    bool batch_ready() const;
    // Whether the next picture may be filled: a slot is free and the picture
    // as many back as there are slots, whose rows the producer may now
    // overwrite, is handled.
    bool next_may_start() const;
    // Takes up to a batch of the oldest queued pictures and handles them with
    // the lock let go meanwhile, then frees their slots.
    void handle_queued(std::unique_lock<std::mutex>& lock);

    BatchHandler handler_;
    const int batch_;
    const Sharing sharing_;
    std::vector<PictureJob> slots_;
    struct Queued {
        int index;
        int64_t tag;
        int64_t sequence;  // in the order of submission
    };
    std::deque<int> free_;
    std::deque<Queued> queued_;
    int64_t submitted_ = 0;
    std::set<int64_t> unfinished_;  // the sequences queued or being handled
    int acquired_ = -1;
    bool busy_ = false;
    bool stopping_ = false;
    bool draining_ = false;  // the producer is done: batches may be short
    bool failed_ = false;    // a picture's handler threw; later ones are dropped
    std::exception_ptr failure_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
};

// Runs produce, which feeds the worker, then waits for the worker. When
// produce throws, the pictures it queued before are still handled first (a
// failure of theirs is then dropped in favour of produce's).
template <typename Produce>
void run_with_worker(PictureWorker& worker, Produce produce) {
    try {
        produce();
    } catch (...) {
        try {
            worker.finish();
        } catch (...) {
        }
        throw;
    }
    worker.finish();
}

}  // namespace tavimor
