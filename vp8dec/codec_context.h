// The decoder as its callers see it: a codec context with operations to
// initialise, decode one compressed frame, fetch the picture, report errors
// and destroy.
#pragma once

#include <cstdint>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/frame_analysis_record.h"

namespace vp8 {

struct AnalysisContext;
struct DecoderInstance;
struct DecoderPrivate;

inline constexpr int kDecoderAbiVersion = 5;
inline constexpr int kInterfaceVersion = 2;
inline constexpr long kCapabilityDecode = 1;

// Decoder configuration; absent means everything on the caller's thread and
// no held pictures.
struct DecoderConfig {
    int threads;
    // Shown pictures (at most kMaxHeldPictures) whose planes stay readable in
    // place, unchanged: a picture's planes keep their samples until the
    // decoder has shown held_pictures more pictures and begins the next
    // decode (hidden frames in between do not count).
    int held_pictures;
};

struct StreamInfo {
    int width;
    int height;
    int is_key_frame;
};

struct CodecContext;

struct DecoderInterface {
    const char* name;
    int interface_version;
    long capabilities;
    int (*init)(CodecContext* context);
    int (*destroy)(CodecContext* context);
    int (*peek_stream_info)(const uint8_t* data, uint32_t size, StreamInfo* info);
    int (*decode)(CodecContext* context, const uint8_t* data, uint32_t size, void* user_data,
                  long deadline);
    const FrameAnalysisRecord* (*get_frame)(CodecContext* context, const void** iterator);
};

// The VP8 decoder's interface record.
const DecoderInterface* vp8_decoder_interface();

struct CodecContext {
    const DecoderInterface* iface;
    const char* name;
    long init_flags;
    const DecoderConfig* config;
    int last_error;
    const char* error_detail;
    DecoderPrivate* priv;
};

int decoder_init(CodecContext* context, const DecoderInterface* iface, const DecoderConfig* config,
                 long flags, int abi_version);
int decoder_decode(CodecContext* context, const uint8_t* data, uint32_t size, void* user_data,
                   long deadline);
// The frame analysis record once after each decode call that produced a shown
// picture; null otherwise. The iterator starts out null.
const FrameAnalysisRecord* decoder_get_frame(CodecContext* context, const void** iterator);
int decoder_destroy(CodecContext* context);
const char* decoder_error_string(const CodecContext* context);
// The detail text of the last error, or null.
const char* decoder_error_detail(const CodecContext* context);
int probe_key_frame(const uint8_t* data, uint32_t size, StreamInfo* info);

// Where the decoder writes its analysis (null: nowhere). Takes effect from the
// next decode call.
void decoder_set_analysis(CodecContext* context, AnalysisContext* analysis);
// Calls the observer for every macroblock with its quantised levels (see
// TokenObserver); null removes it. Takes effect from the next decode call.
void decoder_set_token_observer(CodecContext* context, TokenObserver observer, void* user);
// Sets the count of shown pictures the decoder numbers its reference frames
// by, before decoding a stream again from a key frame: the key frame's
// pictures then carry the numbers they had the first time.
void decoder_set_shown_count(CodecContext* context, int shown_count);
// The decoder instance behind a context, once the first key frame created it.
DecoderInstance* decoder_instance(CodecContext* context);

}  // namespace vp8
