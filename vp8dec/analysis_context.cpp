#include "vp8dec/analysis_context.h"

#include <cstring>
#include <initializer_list>

namespace vp8 {

AnalysisContext& analysis_context() {
    static AnalysisContext context{};
    return context;
}

bool open_analysis_files(AnalysisContext& context, const char* trace_path, const char* mbinfo_path,
                         const char* coef_path) {
    std::FILE* trace = std::fopen(trace_path, "w+");
    std::FILE* mbinfo = std::fopen(mbinfo_path, "w+b");
    std::FILE* coef = std::fopen(coef_path, "w+b");
    if (!trace || !mbinfo || !coef) {
        if (trace) std::fclose(trace);
        if (mbinfo) std::fclose(mbinfo);
        if (coef) std::fclose(coef);
        return false;
    }
    context.trace_file = trace;
    context.mbinfo_file = mbinfo;
    context.coef_file = coef;
    context.files_open = 1;
    return true;
}

void close_analysis_context(AnalysisContext& context) {
    for (std::FILE* file : {context.trace_file, context.mbinfo_file, context.coef_file})
        if (file) std::fclose(file);
    for (PlanarPicture& slot : context.slots) release_planar_picture(slot);
    std::memset(&context, 0, sizeof(context));
}

bool size_picture_slot(PlanarPicture& slot, int width, int height, int chroma_width,
                       int chroma_height) {
    if (slot.luma_rows && slot.width == width && slot.height == height &&
        slot.chroma_width == chroma_width && slot.chroma_height == chroma_height)
        return true;
    release_planar_picture(slot);
    return allocate_planar_picture(slot, width, height, chroma_width, chroma_height);
}

}  // namespace vp8
