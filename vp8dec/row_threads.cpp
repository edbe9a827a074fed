#include "vp8dec/row_threads.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/frame_borders.h"
#include "vp8dec/loop_filter.h"
#include "vp8dec/row_loop.h"

namespace vp8 {

namespace {

inline void pause_briefly() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Progress counters that threads wait on. A waiter spins for a while (a
// macroblock takes a microsecond or two, so the wait is usually short), then
// sleeps until the value changes; publishing wakes sleepers only when there
// are any, so that the usual case costs no system call.
class Progress {
  public:
    void wait_at_least(const std::atomic<int>& value, int target) {
        int seen = value.load(std::memory_order_acquire);
        for (int spin = 0; seen < target && spin < kSpins; ++spin) {
            pause_briefly();
            seen = value.load(std::memory_order_acquire);
        }
        // On a busy machine the thread being waited for may not be running:
        // let it have the processor before going to sleep.
        for (int turn = 0; seen < target && turn < 8; ++turn) {
            std::this_thread::yield();
            seen = value.load(std::memory_order_acquire);
        }
        if (seen >= target) return;
        sleepers_.fetch_add(1, std::memory_order_seq_cst);
        while ((seen = value.load(std::memory_order_seq_cst)) < target) value.wait(seen);
        sleepers_.fetch_sub(1, std::memory_order_relaxed);
    }

    void publish(std::atomic<int>& value, int new_value) {
        value.store(new_value, std::memory_order_seq_cst);
        if (sleepers_.load(std::memory_order_seq_cst) != 0) value.notify_all();
    }

    void add_one(std::atomic<int>& value) {
        value.fetch_add(1, std::memory_order_seq_cst);
        if (sleepers_.load(std::memory_order_seq_cst) != 0) value.notify_all();
    }

  private:
    static constexpr int kSpins = 2048;
    std::atomic<int> sleepers_{0};
};

}  // namespace

class RowThreads {
  public:
    explicit RowThreads(int count) : count_(count) {}
    ~RowThreads() { stop(); }

    bool start() {
        contexts_.resize(static_cast<size_t>(count_));
        try {
            for (int k = 1; k < count_; ++k) {
                contexts_[k].reset(new (std::nothrow) MacroblockContext{});
                if (!contexts_[k]) return false;
                workers_.emplace_back([this, k] { worker_loop(k); });
            }
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    void run(DecoderInstance& instance, bool filter_rows) {
        const int rows = instance.mb_rows;
        if (static_cast<int>(progress_size_) < rows) {
            rows_.reset(new RowProgress[static_cast<size_t>(rows)]);
            progress_size_ = static_cast<size_t>(rows);
        }
        for (int r = 0; r < rows; ++r) rows_[r].decoded.store(0, std::memory_order_relaxed);
        filtered_.store(0, std::memory_order_relaxed);
        completed_.store(0, std::memory_order_relaxed);
        finished_.store(0, std::memory_order_relaxed);
        instance_ = &instance;
        filter_rows_ = filter_rows;
        active_ = std::min(count_, instance.token_partitions);
        // With one token partition the rows are decoded in order on the
        // caller's thread, and the first worker filters them behind it.
        filter_thread_ = filter_rows && active_ == 1;
        for (int k = 1; k < active_; ++k) *contexts_[k] = instance.mb;
        frames_.publish(generation_, generation_.load(std::memory_order_relaxed) + 1);
        decode_rows_of(0, instance.mb);
        frames_.wait_at_least(finished_, active_ - 1 + (filter_thread_ ? 1 : 0));
        if (filter_rows) rows_done_.wait_at_least(filtered_, rows);
    }

  private:
    void stop() {
        stopping_.store(true, std::memory_order_release);
        frames_.publish(generation_, generation_.load(std::memory_order_relaxed) + 1);
        for (std::thread& worker : workers_)
            if (worker.joinable()) worker.join();
        workers_.clear();
    }

    void worker_loop(int index) {
        int seen = 0;
        while (true) {
            frames_.wait_at_least(generation_, seen + 1);
            seen = generation_.load(std::memory_order_acquire);
            if (stopping_.load(std::memory_order_acquire)) return;
            if (filter_thread_ && index == 1) {
                filter_behind_decoding();
                frames_.add_one(finished_);
                continue;
            }
            if (index >= active_) continue;
            decode_rows_of(index, *contexts_[index]);
            frames_.add_one(finished_);
        }
    }

    // Rows index, index + active, ... of the frame.
    void decode_rows_of(int index, MacroblockContext& mb) {
        DecoderInstance& instance = *instance_;
        const int rows = instance.mb_rows;
        const int cols = instance.mb_cols;
        const int partitions = instance.token_partitions;
        for (int row = index; row < rows; row += active_) {
            // A partition's rows follow one another through its reader.
            if (row >= partitions) progress_.wait_at_least(rows_[row - partitions].decoded, cols);
            start_mb_row(instance, mb, row);
            for (int col = 0; col < cols; ++col) {
                // Intra prediction reads the row above up to the next column.
                // A thread that has caught up with the row above waits until
                // that row is a few macroblocks ahead, so that it does not
                // wait again at the very next macroblock.
                if (row > 0) {
                    std::atomic<int>& above = rows_[row - 1].decoded;
                    const int needed = std::min(col + 2, cols);
                    if (above.load(std::memory_order_acquire) < needed)
                        progress_.wait_at_least(above, std::min(needed + kLead, cols));
                }
                decode_macroblock(instance, mb, col, false);
                if (col + 1 < cols) progress_.publish(rows_[row].decoded, col + 1);
            }
            extend_row_right_edge(*instance.new_frame, row);
            progress_.publish(rows_[row].decoded, cols);
            if (filter_thread_) rows_done_.publish(completed_, row + 1);
            if (!filter_rows_ || filter_thread_) continue;
            if (row > 0) filter_after(row - 1);
            if (row == rows - 1) filter_after(row);
        }
    }

    // Filters a row once the rows above it are filtered.
    void filter_after(int row) {
        rows_done_.wait_at_least(filtered_, row);
        filter_mb_row(*instance_, *instance_->new_frame, row);
        rows_done_.publish(filtered_, row + 1);
    }

    // Filters the rows in order, each once the row below it is decoded.
    void filter_behind_decoding() {
        const int rows = instance_->mb_rows;
        for (int row = 0; row < rows; ++row) {
            rows_done_.wait_at_least(completed_, std::min(row + 2, rows));
            filter_mb_row(*instance_, *instance_->new_frame, row);
            rows_done_.publish(filtered_, row + 1);
        }
    }

    static constexpr int kLead = 4;
    const int count_;
    Progress frames_;  // frame start and end, on which idle workers sleep
    // Macroblocks decoded, published at every macroblock; whole rows decoded
    // and filtered, kept apart so that a thread asleep on a whole row does
    // not make every macroblock's publishing wake it.
    Progress progress_;
    Progress rows_done_;
    std::vector<std::thread> workers_;
    std::vector<std::unique_ptr<MacroblockContext>> contexts_;
    // Macroblocks decoded in each row, each count in a cache line of its own.
    struct alignas(64) RowProgress {
        std::atomic<int> decoded{0};
    };
    std::unique_ptr<RowProgress[]> rows_;
    size_t progress_size_ = 0;
    std::atomic<int> filtered_{0};   // rows filtered, from the top
    std::atomic<int> completed_{0};  // rows decoded, from the top (one token partition)
    std::atomic<int> finished_{0};   // workers done with the frame
    std::atomic<int> generation_{0};
    std::atomic<bool> stopping_{false};
    DecoderInstance* instance_ = nullptr;
    bool filter_rows_ = false;
    bool filter_thread_ = false;
    int active_ = 1;
};

RowThreads* start_row_threads(int count) {
    auto* threads = new (std::nothrow) RowThreads(std::clamp(count, 2, 16));
    if (threads && !threads->start()) {
        delete threads;
        return nullptr;
    }
    return threads;
}

void stop_row_threads(RowThreads* threads) {
    delete threads;
}

void decode_rows_on_threads(RowThreads& threads, DecoderInstance& instance, bool filter_rows) {
    threads.run(instance, filter_rows);
}

}  // namespace vp8
