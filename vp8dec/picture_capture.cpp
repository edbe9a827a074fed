// Captures for the analysis views: each macroblock's prediction, and whole
// pictures before and after the loop filter.
#include "vp8dec/picture_capture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "vp8dec/analysis_context.h"
#include "vp8dec/decoder_instance.h"

namespace vp8 {

namespace {

// The slot sized for the frame, or null when there is no analysis context or
// no memory for it.
PlanarPicture* slot_for(DecoderInstance& instance, int slot, const FrameBuffer& frame) {
    if (!instance.analysis) return nullptr;
    PlanarPicture& picture = instance.analysis->slots[slot];
    if (!size_picture_slot(picture, frame.y_width, frame.y_height, frame.uv_width, frame.uv_height))
        return nullptr;
    return &picture;
}

// Copies a row with stores that bypass the caches where the destination is
// aligned: a captured picture is next read only when the frame is stored,
// long after its lines would have pushed the decoder's own data out.
void stream_row(uint8_t* dst, const uint8_t* src, int size) {
#if defined(__SSE2__)
    const int head = std::min(size, static_cast<int>(-reinterpret_cast<uintptr_t>(dst) & 15));
    std::memcpy(dst, src, static_cast<size_t>(head));
    int at = head;
    for (; at + 16 <= size; at += 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(dst + at),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + at)));
    std::memcpy(dst + at, src + at, static_cast<size_t>(size - at));
#else
    std::memcpy(dst, src, static_cast<size_t>(size));
#endif
}

// Makes the streamed rows visible to every thread before the picture is handed on.
void finish_streaming() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

void copy_area(uint8_t* const* rows, int x, int y, const uint8_t* src, int src_pitch, int w,
               int h) {
    for (int r = 0; r < h; ++r) stream_row(rows[y + r] + x, src + r * src_pitch, w);
}

// A block of a fixed width: the row copies are inlined instead of calls.
template <int W>
void copy_block(uint8_t* dst, int pitch, const uint8_t* src, int src_pitch) {
    for (int r = 0; r < W; ++r) std::memcpy(dst + r * pitch, src + r * src_pitch, W);
}

// The captured row's planes: 16 luma rows, then 8 rows of U and 8 of V, each
// as wide as the slot's rows.
struct RowPlanes {
    uint8_t* luma;
    uint8_t* u;
    uint8_t* v;
};

RowPlanes row_planes(DecoderInstance& instance) {
    const PlanarPicture& slot = instance.analysis->slots[kSlotPredicted];
    uint8_t* luma = instance.prediction_row.data();
    uint8_t* u = luma + 16 * static_cast<size_t>(slot.width);
    return {luma, u, u + 8 * static_cast<size_t>(slot.chroma_width)};
}

}  // namespace

bool prepare_prediction_capture(DecoderInstance& instance) {
    const PlanarPicture* slot = slot_for(instance, kSlotPredicted, *instance.new_frame);
    if (!slot) return false;
    instance.prediction_row.resize(16 * static_cast<size_t>(slot->width) +
                                   16 * static_cast<size_t>(slot->chroma_width));
    return true;
}

void capture_mb_prediction(DecoderInstance& instance, MacroblockContext& mb) {
    const PlanarPicture& slot = instance.analysis->slots[kSlotPredicted];
    const RowPlanes row = row_planes(instance);
    const int pitch = slot.width, chroma_pitch = slot.chroma_width;
    uint8_t* const y = row.luma + 16 * mb.mb_col;
    uint8_t* const u = row.u + 8 * mb.mb_col;
    uint8_t* const v = row.v + 8 * mb.mb_col;
    if (mb.record->has_residual) {
        copy_block<16>(y, pitch, mb.prediction, 16);
        copy_block<8>(u, chroma_pitch, mb.prediction + 256, 8);
        copy_block<8>(v, chroma_pitch, mb.prediction + 320, 8);
    } else {
        copy_block<16>(y, pitch, mb.dst_y, mb.dst_y_stride);
        copy_block<8>(u, chroma_pitch, mb.dst_u, mb.dst_uv_stride);
        copy_block<8>(v, chroma_pitch, mb.dst_v, mb.dst_uv_stride);
    }
}

void capture_prediction_row(DecoderInstance& instance, int mb_row) {
    const PlanarPicture& slot = instance.analysis->slots[kSlotPredicted];
    const RowPlanes row = row_planes(instance);
    for (int r = 0; r < 16 && 16 * mb_row + r < slot.height; ++r)
        stream_row(slot.luma_rows[16 * mb_row + r], row.luma + r * slot.width, slot.width);
    for (int r = 0; r < 8 && 8 * mb_row + r < slot.chroma_height; ++r) {
        stream_row(slot.chroma_rows[0][8 * mb_row + r], row.u + r * slot.chroma_width,
                   slot.chroma_width);
        stream_row(slot.chroma_rows[1][8 * mb_row + r], row.v + r * slot.chroma_width,
                   slot.chroma_width);
    }
    finish_streaming();
}

void capture_picture(DecoderInstance& instance, int slot_index, const FrameBuffer& frame,
                     PlanarPicture* record_copy) {
    PlanarPicture* slot = slot_for(instance, slot_index, frame);
    if (!slot) return;
    copy_area(slot->luma_rows, 0, 0, frame.y, frame.y_stride, frame.y_width, frame.y_height);
    copy_area(slot->chroma_rows[0], 0, 0, frame.u, frame.uv_stride, frame.uv_width,
              frame.uv_height);
    copy_area(slot->chroma_rows[1], 0, 0, frame.v, frame.uv_stride, frame.uv_width,
              frame.uv_height);
    finish_streaming();
    if (record_copy) *record_copy = *slot;
}

}  // namespace vp8
