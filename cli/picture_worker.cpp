#include "cli/picture_worker.h"

#include <algorithm>
#include <utility>

namespace tavimor {

PictureWorker::PictureWorker(Handler handler, int slots, Sharing sharing)
    : PictureWorker(
          [handler = std::move(handler)](const std::vector<TaggedPicture>& pictures) {
              for (const TaggedPicture& picture : pictures) handler(picture.tag, *picture.picture);
          },
          1, slots, sharing) {}

PictureWorker::PictureWorker(BatchHandler handler, int batch, int slots, Sharing sharing)
    : handler_(std::move(handler)),
      batch_(std::clamp(batch, 1, slots)),
      sharing_(sharing),
      slots_(static_cast<size_t>(slots)) {
    for (size_t i = 0; i < slots_.size(); ++i) free_.push_back(static_cast<int>(i));
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
    while (!next_may_start() && !failure_) {
        if (sharing_ == Sharing::kProducerHelps && !queued_.empty()) {
            handle_queued(lock);
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
        queued_.push_back({acquired_, tag, submitted_});
        unfinished_.insert(submitted_++);
        acquired_ = -1;
    }
    changed_.notify_all();
}

void PictureWorker::finish() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        draining_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return queued_.empty() && !busy_; });
        draining_ = false;
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

bool PictureWorker::next_may_start() const {
    if (free_.empty()) return false;
    const auto window = static_cast<int64_t>(slots_.size());
    return unfinished_.empty() || *unfinished_.begin() > submitted_ - window;
}

bool PictureWorker::batch_ready() const {
    if (static_cast<int>(queued_.size()) >= batch_) return true;
    return !queued_.empty() && (draining_ || stopping_);
}

void PictureWorker::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return batch_ready() || (stopping_ && queued_.empty()); });
        if (queued_.empty()) return;
        busy_ = true;
        handle_queued(lock);
        busy_ = false;
        changed_.notify_all();
    }
}

void PictureWorker::handle_queued(std::unique_lock<std::mutex>& lock) {
    std::vector<Queued> taken;
    std::vector<TaggedPicture> pictures;
    while (!queued_.empty() && static_cast<int>(taken.size()) < batch_) {
        taken.push_back(queued_.front());
        queued_.pop_front();
        pictures.push_back({taken.back().tag, &slots_[static_cast<size_t>(taken.back().index)]});
    }
    // Once a picture has failed, the ones queued after it are dropped.
    const bool wanted = !failed_;
    lock.unlock();
    std::exception_ptr failure;
    if (wanted) {
        try {
            handler_(pictures);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    lock.lock();
    if (failure && !failed_) {
        failure_ = failure;
        failed_ = true;
    }
    for (const Queued& picture : taken) {
        free_.push_back(picture.index);
        unfinished_.erase(picture.sequence);
    }
}

}  // namespace tavimor
