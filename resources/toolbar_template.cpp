#include "resources/toolbar_template.h"

#include "resources/command_ids.h"

namespace tavimor {

namespace {

constexpr unsigned kOff = kButtonIndeterminate;
constexpr unsigned kOn = kButtonEnabled;
constexpr ToolbarButtonTemplate kSep = {-1, 0, 0, ButtonStyle::kSeparator};
constexpr ButtonStyle kGroup = ButtonStyle::kCheckGroup;
constexpr ButtonStyle kPlain = ButtonStyle::kButton;

constexpr ToolbarButtonTemplate kButtons[] = {
    {0, cmd::kOpen, kOn, kPlain},
    kSep,
    kSep,
    {1, cmd::kStop, kOff, kGroup},
    {2, cmd::kPlay, kOff, kGroup},
    {3, cmd::kPause, kOff, kGroup},
    {4, cmd::kStepForward, kOff, kGroup},
    {5, cmd::kStepBackward, kOff, kGroup},
    {6, cmd::kFastForward, kOff, kGroup},
    {7, cmd::kFastRewind, kOff, kGroup},
    kSep,
    kSep,
    {8, cmd::kMbRect, kOff, kPlain},
    {9, cmd::kMbBlocks, kOff, kPlain},
    {10, cmd::kMbMvs, kOff, kPlain},
    {11, cmd::kSliceBoundary, kOff, kPlain},
    {12, cmd::kFpsSettings, kOff, kPlain},
    {13, cmd::kPictureAnalyzer, kOff, kPlain},
    {14, cmd::kStartYuvOutput, kOff, kPlain},
    {15, cmd::kGotoMb, kOff, kPlain},
    {16, cmd::kMbType, kOff, kPlain},
    {17, cmd::kMbSearch, kOff, kPlain},
    {18, cmd::kPixelInfo, kOff, kPlain},
    {19, cmd::kMbInfo, kOff, kPlain},
    {20, cmd::kHeaderInfo, kOff, kPlain},
    {21, cmd::kSummaryInfo, kOff, kPlain},
    {22, cmd::kOpenReferenceYuv, kOff, kPlain},
    {23, cmd::kHistogram, kOff, kPlain},
    {24, cmd::kMbPopup, kOff, kPlain},
    {25, cmd::kDecOrderPlayback, kOff, kPlain},
    kSep,
    kSep,
    {30, cmd::kMailAddress, kOn, kPlain},
    {31, cmd::kWebAddress, kOn, kPlain},
};

}  // namespace

std::span<const ToolbarButtonTemplate> toolbar_template() {
    return kButtons;
}

}  // namespace tavimor
