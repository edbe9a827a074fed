#include "resources/string_table.h"

#include "resources/command_ids.h"
#include "resources/maker.h"

namespace tavimor {

namespace {

constexpr StringResource kStrings[] = {
    {cmd::kOpen, "Open File"},
    {cmd::kStop, "Stop Playback"},
    {cmd::kPlay, "Begin/Resume Playback"},
    {cmd::kPause, "Pause Playback"},
    {cmd::kStepForward, "Step Forward"},
    {cmd::kStepBackward, "Step Backward"},
    {cmd::kFastForward, "Fast Forward"},
    {cmd::kFastRewind, "Fast Rewind"},
    {cmd::kMbRect, "MB Rect On/Off"},
    {cmd::kMbBlocks, "MB Blocks On/Off"},
    {cmd::kMbMvs, "MB Motion Vectors On/Off"},
    {cmd::kSliceBoundary, "Slice Boundary On/Off"},
    {cmd::kFpsSettings, "FPS Settings"},
    {cmd::kPictureAnalyzer, "Picture Analyzer"},
    {cmd::kStartYuvOutput, "Save YUV Output"},
    {cmd::kGotoMb, "Goto MB"},
    {cmd::kMbType, "MB Type"},
    {cmd::kMbSearch, "MB Search"},
    {cmd::kPixelInfo, "Pixel Info Dialog"},
    {cmd::kMbInfo, "MB Info Dialog"},
    {cmd::kHeaderInfo, "Header Info Dialog"},
    {cmd::kSummaryInfo, "Summary Info Dialog"},
    {cmd::kOpenReferenceYuv, "Open Original YUV Ref File"},
    {cmd::kHistogram, "Histogram"},
    {cmd::kMbPopup, "MB Popup On/Off"},
    {cmd::kDecOrderPlayback, "Decoding Order Playback"},
    {cmd::kMailAddress, kMakerMailAddress},
    {cmd::kWebAddress, kMakerWebAddress},
    {cmd::kFrameView, "Frame View"},
    {cmd::kTopFieldView, "Top Field View"},
    {cmd::kBottomFieldView, "Bottom Field View"},
    {cmd::kVerticalZoom, "Vertical Zoom"},
    {cmd::kBothFields, "Both fields"},
};

}  // namespace

std::span<const StringResource> string_table() {
    return kStrings;
}

std::string_view load_string(int id) {
    for (const StringResource& entry : kStrings) {
        if (entry.id == id) return entry.text;
    }
    return {};
}

}  // namespace tavimor
