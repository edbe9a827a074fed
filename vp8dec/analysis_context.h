// The process's analysis context: the three analysis files the decoder writes,
// the three picture slots it captures into, and the summary of the last frame.
#pragma once

#include <cstdint>
#include <cstdio>

#include "vp8dec/planar_picture.h"

namespace vp8 {

enum PictureSlot : int { kSlotFinal = 0, kSlotPreLoopFilter = 1, kSlotPredicted = 2 };

struct FrameSummary {
    uint8_t frame_type;  // 0 key frame
    uint8_t segmentation_enabled;
    int16_t filter_level;
    int16_t filter_type;
};

struct AnalysisContext {
    std::FILE* trace_file;   // header trace text
    std::FILE* mbinfo_file;  // macroblock information records
    std::FILE* coef_file;    // dequantised coefficient records
    int files_open;
    PlanarPicture slots[3];
    FrameSummary summary;
};

// The one context of the process, zeroed on first use.
AnalysisContext& analysis_context();

// Opens the three files for writing and reading back (trace "w+", the others
// "w+b"), creating or truncating them. Returns false when any of them cannot be opened (none is
// left open).
bool open_analysis_files(AnalysisContext& context, const char* trace_path, const char* mbinfo_path,
                         const char* coef_path);

// Closes the files, frees the slot rows and zeroes the whole context.
void close_analysis_context(AnalysisContext& context);

// Makes a slot hold a picture of the given size, reallocating its rows when the
// size differs from what it holds. Returns false when memory runs out.
bool size_picture_slot(PlanarPicture& slot, int width, int height, int chroma_width,
                       int chroma_height);

}  // namespace vp8
