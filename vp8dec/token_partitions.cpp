// Layout of the token partitions that follow the first partition.
#include "vp8dec/token_partitions.h"

#include "vp8dec/analysis_context.h"
#include "vp8dec/decoder_error.h"
#include "vp8dec/decoder_instance.h"
#include "vp8dec/error_codes.h"

namespace vp8 {

void open_token_partitions(DecoderInstance& instance, uint64_t start_offset,
                           const HeaderTrace& trace) {
    const int multi_token_partition = static_cast<int>(read_literal(instance.first_reader, 2));
    trace.line("\t%d <- multi_token_partition\n", multi_token_partition);
    const int count = 1 << multi_token_partition;
    instance.token_partitions = count;
    instance.syntax.partitions = count;
    if (instance.decoding_threads > count - 1) instance.decoding_threads = count - 1;

    // The first partition must end inside the frame, and the size table (3
    // bytes per partition but the last) must follow inside it.
    if (start_offset > instance.size)
        raise_error(instance, kErrorCorruptFrame, "Truncated packet or corrupt partition %d length",
                    0);
    const uint8_t* const start = instance.data + start_offset;
    const uint8_t* const end = instance.data + instance.size;
    const size_t table_bytes = 3 * static_cast<size_t>(count - 1);
    if (static_cast<size_t>(end - start) < table_bytes)
        raise_error(instance, kErrorCorruptFrame, "Truncated packet or corrupt partition %d length",
                    static_cast<int>((end - start) / 3) + 1);

    const uint8_t* partition = start + table_bytes;
    for (int k = 0; k < count; ++k) {
        size_t partition_size;
        if (k < count - 1) {
            const uint8_t* entry = start + 3 * k;
            partition_size = entry[0] | (entry[1] << 8) | (entry[2] << 16);
            if (partition_size > static_cast<size_t>(end - partition))
                raise_error(instance, kErrorCorruptFrame,
                            "Truncated packet or corrupt partition %d length", k + 1);
        } else {
            partition_size = static_cast<size_t>(end - partition);
        }
        instance.syntax.partition_sizes[k] = static_cast<uint32_t>(partition_size);
        BoolReader& reader = instance.token_readers[k];
        if (bool_start(reader, partition, static_cast<uint32_t>(partition_size)) != 0)
            raise_error(instance, kErrorMemory, "Failed to allocate bool decoder %d", k + 1);
        partition += partition_size;
    }
}

}  // namespace vp8
