#include "vp8dec/decode_clock.h"

#include <chrono>

namespace vp8 {

int64_t now_microseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vp8
