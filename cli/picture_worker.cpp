#include "cli/picture_worker.h"

#include <utility>

namespace tavimor {

PictureWorker::PictureWorker(Handler handler, int slots, Sharing sharing)
    : handler_(std::move(handler)), sharing_(sharing), slots_(static_cast<size_t>(slots)) {
    for (int i = 0; i < slots; ++i) free_.push_back(i);
    thread_ = std::thread(&PictureWorker::run, this);
}

PictureWorker::~PictureWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

PictureJob& PictureWorker::acquire() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (free_.empty() && !failure_) {
        if (sharing_ == Sharing::kProducerHelps && !queued_.empty()) {
            const auto [index, tag] = queued_.front();
            queued_.pop_front();
            handle(lock, index, tag);
        } else {
            changed_.wait(lock);
        }
    }
    if (failure_) {
        lock.unlock();
        rethrow_failure();
    }
    acquired_ = free_.front();
    free_.pop_front();
    PictureJob& slot = slots_[static_cast<size_t>(acquired_)];
    slot.copied.clear();
    slot.rows.clear();
    return slot;
}

void PictureWorker::submit(int64_t tag) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_.emplace_back(acquired_, tag);
        acquired_ = -1;
    }
    changed_.notify_all();
}

void PictureWorker::finish() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return queued_.empty() && !busy_; });
    }
    rethrow_failure();
}

void PictureWorker::rethrow_failure() {
    std::exception_ptr failure;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        failure = std::exchange(failure_, nullptr);
    }
    if (failure) std::rethrow_exception(failure);
}

void PictureWorker::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return !queued_.empty() || stopping_; });
        if (queued_.empty()) return;
        const auto [index, tag] = queued_.front();
        queued_.pop_front();
        busy_ = true;
        handle(lock, index, tag);
        busy_ = false;
        changed_.notify_all();
    }
}

void PictureWorker::handle(std::unique_lock<std::mutex>& lock, int index, int64_t tag) {
    // Once a picture has failed, the ones queued after it are dropped.
    const bool wanted = !failed_;
    lock.unlock();
    std::exception_ptr failure;
    if (wanted) {
        try {
            handler_(tag, slots_[static_cast<size_t>(index)]);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    lock.lock();
    if (failure && !failed_) {
        failure_ = failure;
        failed_ = true;
    }
    free_.push_back(index);
}

}  // namespace tavimor
