// The token partitions that follow the first partition.
#pragma once

#include <cstdint>
#include "vp8dec/decoder_instance.h"
#include "vp8dec/header_trace.h"

namespace vp8 {

// Reads multi_token_partition, lays the token partitions out after the first
// partition and starts their readers.
void open_token_partitions(DecoderInstance& instance, uint64_t start_offset,
                           const HeaderTrace& trace);

}  // namespace vp8
