#include "vp8dec/codec_context.h"

#include <cstring>
#include <new>

#include "vp8dec/analysis_context.h"
#include "vp8dec/decoder_instance.h"
#include "vp8dec/error_codes.h"

namespace vp8 {

struct DecoderPrivate {
    int thread_count;
    int held_pictures;
    StreamInfo stream_info;
    DecoderInstance* instance;
    FrameAnalysisRecord record;
    int picture_available;
    AnalysisContext* analysis;
    bool analysis_set;
    TokenObserver token_observer;
    void* token_observer_user;
};

namespace {

int vp8_init(CodecContext* context) {
    auto* priv = new (std::nothrow) DecoderPrivate{};
    if (!priv) return kErrorMemory;
    priv->thread_count = context->config ? context->config->threads : 0;
    priv->held_pictures = context->config ? context->config->held_pictures : 0;
    context->priv = priv;
    return kOk;
}

int vp8_destroy(CodecContext* context) {
    destroy_instance(context->priv->instance);
    delete context->priv;
    context->priv = nullptr;
    return kOk;
}

void describe_image(DecoderPrivate& priv, const FrameBuffer& frame, void* user_data) {
    ImageDescription& image = priv.record.image;
    image = ImageDescription{};
    image.format = kImageFormatI420;
    image.allocated_width = frame.y_stride;
    image.allocated_height = priv.instance->frame_to_show->y_height + 2 * frame.border;
    image.display_width = frame.y_width;
    image.display_height = frame.y_height;
    image.chroma_shift_x = 1;
    image.chroma_shift_y = 1;
    image.planes[0] = frame.y;
    image.planes[1] = frame.u;
    image.planes[2] = frame.v;
    image.strides[0] = frame.y_stride;
    image.strides[1] = frame.uv_stride;
    image.strides[2] = frame.uv_stride;
    image.bits_per_pixel = 12;
    image.user_data = user_data;
    image.data = frame.allocation;
}

int vp8_decode(CodecContext* context, const uint8_t* data, uint32_t size, void* user_data, long) {
    DecoderPrivate& priv = *context->priv;
    context->error_detail = nullptr;
    priv.picture_available = 0;
    if (!priv.instance) {
        StreamInfo info{};
        const int status = probe_key_frame(data, size, &info);
        if (status != kOk) return status;
        priv.stream_info = info;
        priv.instance =
            create_instance(info.width, info.height, priv.thread_count, priv.held_pictures);
        if (!priv.instance) return kErrorUnspecified;
    }
    DecoderInstance& instance = *priv.instance;
    instance.record = &priv.record;
    instance.token_observer = priv.token_observer;
    instance.token_observer_user = priv.token_observer_user;
    instance.analysis = priv.analysis_set ? priv.analysis : &analysis_context();
    if (instance.analysis && !instance.analysis->files_open && !priv.analysis_set)
        instance.analysis = nullptr;
    if (receive_frame(instance, data, size, 0) != 0) {
        if (instance.error.has_detail) context->error_detail = instance.error.detail;
        return instance.error.code;
    }
    FrameBuffer shown{};
    if (get_shown_frame(instance, shown)) {
        describe_image(priv, shown, user_data);
        priv.picture_available = 1;
    }
    return kOk;
}

const FrameAnalysisRecord* vp8_get_frame(CodecContext* context, const void** iterator) {
    DecoderPrivate& priv = *context->priv;
    if (*iterator || !priv.picture_available) return nullptr;
    *iterator = &priv.record;
    return &priv.record;
}

const DecoderInterface kVp8Interface = {
    "Tavimor VP8 decoder", kInterfaceVersion, kCapabilityDecode, vp8_init,
    vp8_destroy,           probe_key_frame,   vp8_decode,        vp8_get_frame,
};

}  // namespace

const DecoderInterface* vp8_decoder_interface() {
    return &kVp8Interface;
}

int decoder_init(CodecContext* context, const DecoderInterface* iface, const DecoderConfig* config,
                 long flags, int abi_version) {
    if (abi_version != kDecoderAbiVersion ||
        (iface && iface->interface_version != kInterfaceVersion))
        return kErrorAbiMismatch;
    if (!context || !iface) return kErrorInvalidParameter;
    if ((flags & ~iface->capabilities) != 0) return kErrorIncapable;
    std::memset(context, 0, sizeof(*context));
    context->iface = iface;
    context->name = iface->name;
    context->init_flags = flags;
    context->config = config;
    const int status = iface->init(context);
    if (status != kOk) {
        context->iface = nullptr;
        context->priv = nullptr;
    }
    context->last_error = status;
    return status;
}

int decoder_decode(CodecContext* context, const uint8_t* data, uint32_t size, void* user_data,
                   long deadline) {
    if (!context) return kErrorInvalidParameter;
    int status;
    if (!data || size == 0)
        status = kErrorInvalidParameter;
    else if (!context->iface || !context->priv)
        status = kErrorUnspecified;
    else
        status = context->iface->decode(context, data, size, user_data, deadline);
    context->last_error = status;
    return status;
}

const FrameAnalysisRecord* decoder_get_frame(CodecContext* context, const void** iterator) {
    if (!context || !iterator || !context->iface || !context->priv) return nullptr;
    return context->iface->get_frame(context, iterator);
}

int decoder_destroy(CodecContext* context) {
    if (!context) return kErrorInvalidParameter;
    if (!context->iface || !context->priv) return kErrorUnspecified;
    context->iface->destroy(context);
    std::memset(context, 0, sizeof(*context));
    return kOk;
}

const char* decoder_error_string(const CodecContext* context) {
    return context ? error_code_text(context->last_error) : error_code_text(kErrorInvalidParameter);
}

const char* decoder_error_detail(const CodecContext* context) {
    if (!context || context->last_error == kOk) return nullptr;
    return context->error_detail;
}

int probe_key_frame(const uint8_t* data, uint32_t size, StreamInfo* info) {
    if (!data || size < 10 || (data[0] & 1) != 0) return kErrorUnsupportedBitstream;
    if (data[3] != 0x9d || data[4] != 0x01 || data[5] != 0x2a) return kErrorUnsupportedBitstream;
    const int width = (data[6] | (data[7] << 8)) & 0x3fff;
    const int height = (data[8] | (data[9] << 8)) & 0x3fff;
    if (width == 0 || height == 0) return kErrorUnsupportedBitstream;
    if (info) {
        info->width = width;
        info->height = height;
        info->is_key_frame = 1;
    }
    return kOk;
}

void decoder_set_analysis(CodecContext* context, AnalysisContext* analysis) {
    if (!context || !context->priv) return;
    context->priv->analysis = analysis;
    context->priv->analysis_set = true;
}

void decoder_set_token_observer(CodecContext* context, TokenObserver observer, void* user) {
    if (!context || !context->priv) return;
    context->priv->token_observer = observer;
    context->priv->token_observer_user = user;
}

void decoder_set_shown_count(CodecContext* context, int shown_count) {
    if (DecoderInstance* instance = decoder_instance(context)) instance->shown_count = shown_count;
}

DecoderInstance* decoder_instance(CodecContext* context) {
    return context && context->priv ? context->priv->instance : nullptr;
}

}  // namespace vp8
