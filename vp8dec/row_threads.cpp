#include "vp8dec/row_threads.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/frame_borders.h"
#include "vp8dec/loop_filter.h"
#include "vp8dec/mode_rows.h"
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

    // Publishes a step on the way to a value that will be published in full:
    // a plain store, without the barrier that makes sure of seeing a sleeper.
    // A waiter that went to sleep meanwhile wakes at the full publishing at
    // the latest; one still watching sees the step at once.
    static void publish_step(std::atomic<int>& value, int new_value) {
        value.store(new_value, std::memory_order_release);
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

    // With more than one token partition the caller's thread reads the
    // frame's modes while the workers start on the rows whose modes are read,
    // then the threads take the rows in turn, each as it becomes free. With
    // one, the caller's thread reads the tokens of each row into a ring of
    // levels, while the first worker reads the frame's modes, then
    // reconstructs the rows behind the tokens. The rows are filtered by
    // whichever thread would otherwise wait: the worker for tokens, the
    // caller's thread for free slots in the ring.
    void run(DecoderInstance& instance, bool filter_rows) {
        const int rows = instance.mb_rows;
        if (static_cast<int>(progress_size_) < rows) {
            rows_.reset(new RowProgress[static_cast<size_t>(rows)]);
            progress_size_ = static_cast<size_t>(rows);
        }
        for (int r = 0; r < rows; ++r) {
            rows_[r].decoded.store(0, std::memory_order_relaxed);
            rows_[r].tokens_read.store(0, std::memory_order_relaxed);
        }
        filtered_.store(0, std::memory_order_relaxed);
        modes_read_.store(0, std::memory_order_relaxed);
        next_row_.store(0, std::memory_order_relaxed);
        finished_.store(0, std::memory_order_relaxed);
        instance_ = &instance;
        filter_rows_ = filter_rows;
        one_partition_ = instance.token_partitions == 1;
        if (one_partition_) prepare_level_ring(instance.mb_cols);
        active_ = one_partition_ ? 2 : std::min(count_, instance.token_partitions);
        for (int k = 1; k < active_; ++k) *contexts_[k] = instance.mb;
        frames_.publish(generation_, generation_.load(std::memory_order_relaxed) + 1);

        if (one_partition_) {
            read_tokens_of_rows();
        } else {
            const ModeRowsNotice notice{&RowThreads::modes_read, this};
            read_frame_modes(instance, &notice);
            decode_free_rows(instance.mb);
        }
        frames_.wait_at_least(finished_, count_ - 1);
        if (filter_rows) rows_done_.wait_at_least(filtered_, rows);
    }

  private:
    static void modes_read(void* self, int rows) {
        auto* threads = static_cast<RowThreads*>(self);
        threads->rows_done_.publish(threads->modes_read_, rows);
    }

    // One token partition, on the first worker: the modes of the frame, and
    // the rows reconstructed behind the tokens. The modes are kept as many
    // rows ahead of the reconstruction as the tokens can be, so that the
    // tokens never wait for them.
    void read_modes_and_reconstruct() {
        reconstructed_ = 0;
        const ModeRowsNotice notice{&RowThreads::modes_read_ahead, this};
        read_frame_modes(*instance_, &notice);
        while (reconstructed_ < instance_->mb_rows) reconstruct_next_row();
        if (filter_rows_) filter_ready_rows();
    }

    void reconstruct_next_row() { reconstruct_row(reconstructed_++); }

    static void modes_read_ahead(void* self, int rows) {
        auto* threads = static_cast<RowThreads*>(self);
        modes_read(self, rows);
        while (threads->reconstructed_ + kRingRows < rows) threads->reconstruct_next_row();
    }

    // One token partition, on the caller's thread: the tokens of every row,
    // each once its modes are read and its slots are free, then the filtering
    // of the rows left.
    void read_tokens_of_rows() {
        const int rows = instance_->mb_rows;
        for (int row = 0; row < rows; ++row) {
            rows_done_.wait_at_least(modes_read_, row + 1);
            read_row_tokens(row);
        }
        if (filter_rows_) filter_rows_left();
    }

    // Filters each row left as it becomes ready, or sees the other thread
    // filter it.
    void filter_rows_left() {
        const int rows = instance_->mb_rows;
        for (int row; (row = filtered_.load(std::memory_order_acquire)) < rows;) {
            progress_.wait_at_least(rows_[std::min(row + 1, rows - 1)].decoded, instance_->mb_cols);
            // Another thread filtering may stop before this row: try again.
            if (filter_ready_rows() < 0) pause_briefly();
        }
    }

    // The levels of the macroblocks in kRingRows rows; a row's slots are
    // reused once the row they held is reconstructed.
    void prepare_level_ring(int cols) {
        const size_t needed = static_cast<size_t>(cols) * kRingRows;
        if (ring_size_ >= needed) return;
        ring_.reset(new MacroblockLevels[needed]());
        ring_size_ = needed;
    }

    MacroblockLevels* ring_row(int row) {
        return ring_.get() + static_cast<size_t>(row % kRingRows) * instance_->mb_cols;
    }

    void read_row_tokens(int row) {
        DecoderInstance& instance = *instance_;
        const int cols = instance.mb_cols;
        MacroblockContext& mb = instance.mb;
        if (row >= kRingRows) {
            // While the reconstruction catches up, the rows it left behind
            // are filtered here.
            if (filter_rows_) filter_ready_rows();
            progress_.wait_at_least(rows_[row - kRingRows].decoded, cols);
        }
        MacroblockLevels* slots = ring_row(row);
        start_mb_row(instance, mb, row);
        for (int col = 0; col < cols; ++col) {
            read_macroblock_tokens(instance, mb, col, slots[col]);
            if (col + 1 < cols)
                Progress::publish_step(rows_[row].tokens_read, col + 1);
            else
                tokens_.publish(rows_[row].tokens_read, cols);
        }
    }

    // Reconstructs a row as its tokens arrive.
    void reconstruct_row(int row) {
        DecoderInstance& instance = *instance_;
        MacroblockContext& mb = *contexts_[1];
        const int cols = instance.mb_cols;
        MacroblockLevels* slots = ring_row(row);
        std::atomic<int>& tokens_read = rows_[row].tokens_read;
        start_mb_row(instance, mb, row);
        for (int col = 0; col < cols; ++col) {
            // While the tokens are not there, the rows ready for the loop
            // filter are filtered, one at a time.
            while (tokens_read.load(std::memory_order_acquire) <= col) {
                if (filter_rows_ && filter_ready_rows(1) > 0) continue;
                tokens_.wait_at_least(tokens_read, std::min(col + 1 + kLead, cols));
            }
            reconstruct_macroblock_at(instance, mb, col, slots[col], false);
        }
        extend_row_right_edge(*instance.new_frame, row);
        progress_.publish(rows_[row].decoded, cols);
    }

    void filter_row(int row) {
        filter_mb_row(*instance_, *instance_->new_frame, row);
        rows_done_.publish(filtered_, row + 1);
    }

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
            // A worker the frame does not need reports at once: the frame's
            // settings are changed for the next frame only once every worker
            // has read them.
            if (index < active_) {
                if (one_partition_)
                    read_modes_and_reconstruct();
                else
                    decode_free_rows(*contexts_[index]);
            }
            frames_.add_one(finished_);
        }
    }

    // Takes the next row nobody has taken until none is left. Rows are
    // taken in order, so every row a row waits for is already being decoded.
    void decode_free_rows(MacroblockContext& mb) {
        const int rows = instance_->mb_rows;
        for (int row; (row = next_row_.fetch_add(1, std::memory_order_relaxed)) < rows;) {
            decode_row(row, mb);
            if (filter_rows_) filter_ready_rows();
        }
    }

    void decode_row(int row, MacroblockContext& mb) {
        DecoderInstance& instance = *instance_;
        const int cols = instance.mb_cols;
        const int partitions = instance.token_partitions;
        rows_done_.wait_at_least(modes_read_, row + 1);
        // A partition's rows follow one another through its reader.
        if (row >= partitions) progress_.wait_at_least(rows_[row - partitions].decoded, cols);
        start_mb_row(instance, mb, row);
        for (int col = 0; col < cols; ++col) {
            // Intra prediction reads the row above up to the next column. A
            // thread that has caught up with the row above waits until that
            // row is a few macroblocks ahead, so that it does not wait again
            // at the very next macroblock.
            if (row > 0) {
                std::atomic<int>& above = rows_[row - 1].decoded;
                const int needed = std::min(col + 2, cols);
                if (above.load(std::memory_order_acquire) < needed)
                    progress_.wait_at_least(above, std::min(needed + kLead, cols));
            }
            decode_macroblock(instance, mb, col, false);
            if (col + 1 < cols) Progress::publish_step(rows_[row].decoded, col + 1);
        }
        extend_row_right_edge(*instance.new_frame, row);
        progress_.publish(rows_[row].decoded, cols);
    }

    // A row can be filtered once the row below it, which predicts from it
    // unfiltered, is decoded; the last row once it is decoded itself.
    bool ready_to_filter(int row) const {
        const int rows = instance_->mb_rows;
        if (row >= rows) return false;
        const int below = std::min(row + 1, rows - 1);
        return rows_[below].decoded.load(std::memory_order_seq_cst) == instance_->mb_cols;
    }

    // Filters, in order, up to `most` of the rows that can be filtered now.
    // One thread filters at a time; a thread that finds another one filtering
    // goes back to its own work instead of waiting. Unless stopped by `most`,
    // the filtering thread looks again after letting go, for a row made ready
    // by a thread it turned away. Returns the rows filtered, or -1 when
    // another thread was filtering.
    int filter_ready_rows(int most = INT_MAX) {
        int done = 0;
        while (!filtering_.exchange(true, std::memory_order_seq_cst)) {
            int row = filtered_.load(std::memory_order_relaxed);
            for (; done < most && ready_to_filter(row); ++row, ++done) filter_row(row);
            filtering_.store(false, std::memory_order_seq_cst);
            if (done >= most || !ready_to_filter(row)) return done;
        }
        return done > 0 ? done : -1;
    }

    static constexpr int kLead = 4;
    static constexpr int kRingRows = 8;
    const int count_;
    Progress frames_;  // frame start and end, on which idle workers sleep
    // Macroblocks decoded, published at every macroblock; rows of modes read,
    // decoded and filtered, kept apart so that a thread asleep on a whole row
    // does not make every macroblock's publishing a system call.
    Progress progress_;
    Progress tokens_;  // macroblocks whose tokens are read (one token partition)
    Progress rows_done_;
    std::vector<std::thread> workers_;
    std::vector<std::unique_ptr<MacroblockContext>> contexts_;
    // Macroblocks decoded in each row, and those whose tokens are read, each
    // count in a cache line of its own.
    struct alignas(64) RowProgress {
        std::atomic<int> decoded{0};
        alignas(64) std::atomic<int> tokens_read{0};
    };
    std::unique_ptr<RowProgress[]> rows_;
    size_t progress_size_ = 0;
    alignas(64) std::atomic<int> next_row_{0};    // the next row nobody has taken
    alignas(64) std::atomic<int> modes_read_{0};  // rows whose modes are read
    std::atomic<int> filtered_{0};                // rows filtered, from the top
    std::atomic<bool> filtering_{false};          // a thread is filtering rows
    std::atomic<int> finished_{0};                // workers done with the frame
    std::atomic<int> generation_{0};
    std::atomic<bool> stopping_{false};
    DecoderInstance* instance_ = nullptr;
    bool filter_rows_ = false;
    bool one_partition_ = false;
    std::unique_ptr<MacroblockLevels[]> ring_;
    size_t ring_size_ = 0;
    int active_ = 1;
    int reconstructed_ = 0;  // rows reconstructed (one token partition, first worker)
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
