// Hands decoded pictures to a second thread that hashes or writes them, so
// that this work overlaps the decoding of the next frames. Pictures are
// copied into a few reusable buffers and handled strictly in order.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tavimor {

class PictureWorker {
  public:
    // Handles one picture's bytes on the worker thread; may throw, and the
    // exception then reaches the producer at its next call.
    using Handler = std::function<void(int64_t tag, const std::vector<uint8_t>& bytes)>;

    explicit PictureWorker(Handler handler, int buffers = 3);
    PictureWorker(const PictureWorker&) = delete;
    PictureWorker& operator=(const PictureWorker&) = delete;
    // Waits for the pictures already queued; an exception not yet reported is dropped.
    ~PictureWorker();

    // A cleared buffer to fill with the next picture's bytes; waits until one
    // is free. Rethrows the handler's exception, if one was thrown.
    std::vector<uint8_t>& acquire();
    // Queues the buffer last acquired, to be handled with the given tag.
    void submit(int64_t tag);
    // Waits until every queued picture is handled, then rethrows the
    // handler's exception, if one was thrown.
    void finish();

  private:
    void run();
    void rethrow_failure();

    Handler handler_;
    std::vector<std::vector<uint8_t>> buffers_;
    std::deque<int> free_;
    std::deque<std::pair<int, int64_t>> queued_;
    int acquired_ = -1;
    bool busy_ = false;
    bool stopping_ = false;
    bool failed_ = false;  // a picture's handler threw; later ones are dropped
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
