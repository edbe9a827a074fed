// Lines finished out of order by several threads, written in the order of
// their numbers (from 0, each number once).
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace tavimor {

class LinesInOrder {
  public:
    explicit LinesInOrder(std::FILE* out) : out_(out) {}

    // Writes the line once every line numbered before it is written.
    void add(int64_t number, std::string line) {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_.emplace(number, std::move(line));
        for (auto next = waiting_.begin(); next != waiting_.end() && next->first == next_;
             next = waiting_.erase(next), ++next_)
            std::fputs(next->second.c_str(), out_);
    }

  private:
    std::FILE* out_;
    std::mutex mutex_;
    std::map<int64_t, std::string> waiting_;
    int64_t next_ = 0;
};

}  // namespace tavimor
