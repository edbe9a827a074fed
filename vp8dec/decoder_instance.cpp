// Creating and destroying a decoder instance, sizing its buffers, and the
// order of work for one compressed frame.
#include "vp8dec/decoder_instance.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "vp8dec/analysis_context.h"
#include "vp8dec/decode_clock.h"
#include "vp8dec/decoder_error.h"
#include "vp8dec/error_codes.h"
#include "vp8dec/factor_tables.h"
#include "vp8dec/frame_borders.h"
#include "vp8dec/frame_decoder.h"
#include "vp8dec/loop_filter.h"
#include "vp8dec/picture_capture.h"
#include "vp8dec/row_threads.h"

namespace vp8 {

namespace {

constexpr int64_t kMaxDecodeTime = 1000000;

void free_buffers(DecoderInstance& instance) {
    for (FrameBuffer& buffer : instance.buffers) free_frame_buffer(buffer);
    instance.last = instance.golden = instance.altref = instance.new_frame = nullptr;
    instance.frame_to_show = nullptr;
    std::free(instance.mode_info);
    std::free(instance.above_contexts);
    instance.mode_info = nullptr;
    instance.above_contexts = nullptr;
    instance.mb_rows = instance.mb_cols = instance.mb_count = instance.mode_info_stride = 0;
}

// Applies the reference updates of the frame header; previous_last is the
// last frame before this frame replaced it.
void update_references(DecoderInstance& instance, FrameBuffer* previous_last) {
    if (instance.copy_buffer_to_arf == 1)
        instance.altref = previous_last;
    else if (instance.copy_buffer_to_arf == 2)
        instance.altref = instance.golden;
    if (instance.copy_buffer_to_gf == 1)
        instance.golden = previous_last;
    else if (instance.copy_buffer_to_gf == 2)
        instance.golden = instance.altref;
    if (instance.refresh_golden_frame) instance.golden = instance.frame_to_show;
    if (instance.refresh_alt_ref_frame) instance.altref = instance.frame_to_show;
}

PlanarPicture* record_picture(DecoderInstance& instance,
                              PlanarPicture FrameAnalysisRecord::*field) {
    return instance.record ? &(instance.record->*field) : nullptr;
}

}  // namespace

DecoderInstance* create_instance(int /*width*/, int /*height*/, int thread_count,
                                 int held_pictures) {
    auto* instance = new (std::nothrow) DecoderInstance{};
    if (!instance) return nullptr;
    instance->held.set_count(held_pictures);
    instance->buffer_count = 4 + instance->held.count();
    instance->mb_no_coeff_skip = 1;
    set_default_probabilities(instance->probs);
    instance->ready = 1;
    // With a count of 2 or more, frames of several token partitions have their
    // rows decoded by that many threads (the caller's among them).
    instance->decoding_threads = thread_count >= 2 ? std::min(thread_count, 16) - 1 : 0;
    if (thread_count >= 2) {
        instance->row_threads = start_row_threads(thread_count);
        if (!instance->row_threads) {
            delete instance;
            return nullptr;
        }
    }
    build_factor_tables(instance->factors, instance->quant);
    select_frame_factors(*instance);
    build_filter_levels(*instance);
    instance->last_frame_type = 0;
    instance->last_filter_type = instance->loop_filter.filter_type;
    instance->last_sharpness_level = instance->loop_filter.sharpness_level;
    const int features = feature_bits();
    fill_kernel_table(instance->kernels, features);
    fill_scaling_table(instance->scaling, features);
    instance->count_leading_zeros = leading_zero_count_usable(features);
    return instance;
}

void destroy_instance(DecoderInstance* instance) {
    if (!instance) return;
    stop_row_threads(instance->row_threads);
    free_buffers(*instance);
    delete instance;
}

bool resize_buffers(DecoderInstance& instance, int width, int height) {
    instance.held.retire_held();
    free_buffers(instance);
    const int w = (width + 15) & ~15;
    const int h = (height + 15) & ~15;
    bool ok = true;
    for (int i = 0; i < instance.buffer_count; ++i)
        ok = ok && allocate_frame_buffer(instance.buffers[i], w, h);
    instance.mb_rows = h / 16;
    instance.mb_cols = w / 16;
    instance.mb_count = instance.mb_rows * instance.mb_cols;
    instance.mode_info_stride = instance.mb_cols + 1;
    // One record more than the (cols + 1) x (rows + 1) grid: the last row's
    // trailing border record, written to the macroblock information file.
    const size_t records =
        static_cast<size_t>(instance.mode_info_stride) * (instance.mb_rows + 1) + 1;
    instance.mode_info =
        ok ? static_cast<MbAnalysisRecord*>(std::calloc(records, sizeof(MbAnalysisRecord)))
           : nullptr;
    instance.above_contexts =
        ok ? static_cast<TokenContext*>(std::calloc(instance.mb_cols, sizeof(TokenContext)))
           : nullptr;
    if (!instance.mode_info || !instance.above_contexts) {
        free_buffers(instance);
        return false;
    }
    // Until the key frame refreshes them, every reference holds the first buffer.
    instance.last = instance.golden = instance.altref = &instance.buffers[0];
    choose_new_buffer(instance);
    instance.frame_to_show = instance.new_frame;
    return true;
}

void choose_new_buffer(DecoderInstance& instance) {
    for (int i = 0; i < instance.buffer_count; ++i) {
        FrameBuffer& buffer = instance.buffers[i];
        if (&buffer != instance.last && &buffer != instance.golden && &buffer != instance.altref &&
            !instance.held.holds(&buffer)) {
            instance.new_frame = &buffer;
            return;
        }
    }
}

int receive_frame(DecoderInstance& instance, const uint8_t* data, uint32_t size,
                  int64_t time_stamp) {
    instance.error.armed = 1;
    instance.filter_in_rows = 0;
    instance.data = data;
    instance.size = size;
    const int64_t start = now_microseconds();
    try {
        if (decode_one_frame(instance) < 0) {
            set_error(instance, kErrorUnspecified);
            instance.error.armed = 0;
            return -1;
        }
    } catch (const FrameAbort&) {
        instance.error.armed = 0;
        return -1;
    } catch (const std::bad_alloc&) {
        // Memory for the frame's bookkeeping ran out: the same failure as any other allocation.
        set_error(instance, kErrorMemory);
        instance.error.armed = 0;
        return -1;
    }

    if (instance.show_frame) {
        ++instance.shown_count;
        instance.held.hold_shown(instance.new_frame);
    }
    instance.new_frame->frame_number = instance.shown_count;

    FrameBuffer* const previous_last = instance.last;
    if (instance.refresh_last_frame) instance.last = instance.new_frame;
    instance.frame_to_show = instance.new_frame;
    FrameBuffer& shown = *instance.frame_to_show;

    // Unfiltered, the picture before the loop filter is the final one.
    const bool filtered = instance.loop_filter.filter_level > 0;
    if (filtered)
        capture_picture(instance, kSlotPreLoopFilter, shown,
                        record_picture(instance, &FrameAnalysisRecord::prelf_picture));
    if (filtered && !instance.filter_in_rows) {
        const int64_t filter_start = now_microseconds();
        filter_frame_edges(instance, shown);
        instance.total_filter_time += now_microseconds() - filter_start;
    }
    if (instance.analysis) {
        instance.analysis->summary.filter_level =
            static_cast<int16_t>(instance.loop_filter.filter_level);
        instance.analysis->summary.filter_type =
            static_cast<int16_t>(instance.loop_filter.filter_type);
    }
    replicate_borders(shown);
    update_references(instance, previous_last);

    instance.last_decode_time = std::min(now_microseconds() - start, kMaxDecodeTime);
    instance.total_decode_time += instance.last_decode_time;
    instance.ready = 0;
    instance.time_stamp = time_stamp;
    if (instance.analysis && instance.record) {
        FrameAnalysisRecord& record = *instance.record;
        record.final_picture = instance.shown_view.view(shown);
        if (!filtered) record.prelf_picture = record.final_picture;
        record.predicted_picture = instance.analysis->slots[kSlotPredicted];
    }
    instance.error.armed = 0;
    return 0;
}

bool get_shown_frame(DecoderInstance& instance, FrameBuffer& descriptor) {
    if (instance.ready || !instance.show_frame) return false;
    instance.ready = 1;
    descriptor = *instance.frame_to_show;
    descriptor.y_width = instance.width;
    descriptor.y_height = instance.height;
    descriptor.uv_height = instance.height / 2;
    descriptor.colour_type = instance.clr_type;
    return true;
}

}  // namespace vp8
