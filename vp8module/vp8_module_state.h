// The VP8 module's state record: one for the process, re-initialised by
// every open, reached through entry 10 of the module table.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "shell/working_folder.h"
#include "vp8dec/analysis_context.h"
#include "vp8dec/codec_context.h"
#include "vp8dec/frame_analysis_record.h"
#include "vp8dec/mb_analysis_record.h"
#include "vp8dec/planar_picture.h"
#include "vp8module/ivf_reader.h"
#include "vp8module/key_frame_index.h"
#include "vp8module/picture_cache.h"
#include "vp8module/picture_psnr.h"
#include "vp8module/reference_video.h"
#include "vp8module/stream_survey.h"
#include "vp8module/working_space.h"

namespace tavimor {

struct Vp8ModuleState {
    // The residual picture built on demand; width 0 until the first picture
    // of the stream is decoded.
    vp8::PlanarPicture own_picture{};
    vp8::CodecContext decoder{};
    const void* output_iterator = nullptr;
    IvfReader stream;  // open exactly while a stream is open
    std::FILE* header_text_reader = nullptr;
    std::FILE* mbinfo_reader = nullptr;
    PictureCache cache;
    std::FILE* yuv_output = nullptr;
    std::string yuv_output_path;
    bool yuv_output_running = false;  // "Start YUV Output" switched the menu
    vp8::AnalysisContext* analysis = nullptr;
    // The stream's own working folder (removed when the stream is closed),
    // its path and the four analysis paths: framehdr.txt, mbinfo.bin,
    // mbdiff.bin, mbcoef.bin.
    std::unique_ptr<WorkingFolder> working_folder;
    std::string folder;
    std::string analysis_paths[4];
    // What the working files hold within their budget, and the key frames
    // pictures are decoded again from once their space went to others.
    WorkingSpace space;
    KeyFrameIndex key_frames;
    // The index the decoder's next shown picture gets, and how many pictures
    // have been decoded at least once.
    int next_picture = 0;
    int pictures_reached = 0;
    // The decoder's current record, or the saved copy; null before the first picture.
    vp8::FrameAnalysisRecord* record = nullptr;
    vp8::FrameAnalysisRecord saved_record{};
    int frame_size = 0;
    int64_t frame_position = 0;
    std::vector<uint8_t> frame_buffer;
    vp8::FrameSummary summary{};
    int coefficient_cache_flag = 0;
    std::vector<int16_t> coefficient_cache;
    int coefficient_cache_mbs = 0;
    // The macroblock records of the picture shown and where they start in
    // the macroblock information file (-1: none read).
    std::vector<vp8::MbAnalysisRecord> records;
    int64_t records_position = -1;
    // The tree control the header tree was last filled into and the part of
    // the header trace it shows (-1: none), so that refreshing the same
    // picture keeps the tree as the analyst expanded and scrolled it.
    WindowHandle header_tree_control = kNoWindow;
    int64_t header_tree_position = -1;
    // The last "Picture" summary built (kept while another tab is chosen).
    std::string summary_text;
    // The stream's path, and the original it is compared with, if loaded:
    // its pictures' PSNR and the pictures the "Orig YUV" and "Final-Orig"
    // views show (macroblock-aligned, the margin grey).
    std::string stream_path;
    std::unique_ptr<ReferenceVideo> reference;
    std::string reference_path;
    StreamPsnr reference_psnr;
    vp8::PlanarPicture original_picture{};
    vp8::PlanarPicture difference_picture{};
    int original_index = -1;  // the original's picture in original_picture (-1: none)
    // The stream's frames at a glance, read when the stream graph first needs it.
    std::optional<StreamSurvey> survey;
    // The macroblock the tip names (-1: none yet).
    int tip_column = -1;
    int tip_row = -1;
};

Vp8ModuleState& vp8_module_state();

}  // namespace tavimor
