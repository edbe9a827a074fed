#include "resources/menu_templates.h"

#include "resources/command_ids.h"

namespace tavimor {

namespace {

constexpr MenuItemTemplate kFile[] = {
    {"Open", cmd::kOpen, {}},
    {"Close", cmd::kClose, {}},
    {"Recent Files", cmd::kRecentFiles, {}, true},
    {"Quit", cmd::kQuit, {}},
};

constexpr MenuItemTemplate kInfo[] = {
    {"Summary Info", cmd::kSummaryInfo, {}},
    {"Header Info", cmd::kHeaderInfo, {}},
    {"MB Info", cmd::kMbInfo, {}},
    {"Pixel Info", cmd::kPixelInfo, {}},
};

constexpr MenuItemTemplate kTools[] = {
    {"Start YUV Output", cmd::kStartYuvOutput, {}},
    {"End YUV Output", cmd::kEndYuvOutput, {}},
    {"Start MB Info Dump", cmd::kStartMbInfoDump, {}},
    {"End MB info Dump", cmd::kEndMbInfoDump, {}},
    {"Dump Current Header Tree", cmd::kDumpHeaderTree, {}},
    {"Histogram", cmd::kHistogram, {}},
    {"Picture Analyzer", cmd::kPictureAnalyzer, {}},
    {"MB Search", cmd::kMbSearch, {}},
    {"ISDB-T 1Seg Check", cmd::kOneSegCheck, {}},
    {"Container Structure", cmd::kContainerStructure, {}},
    {"Stream Graph", cmd::kStreamGraph, {}},
};

constexpr MenuItemTemplate kView[] = {
    {"MB Rect", cmd::kMbRect, {}},
    {"MB blocks", cmd::kMbBlocks, {}},
    {"MB MVs", cmd::kMbMvs, {}},
    {"Slice Boundary", cmd::kSliceBoundary, {}},
    {"MB Popup", cmd::kMbPopup, {}},
    {"MB Type", cmd::kMbType, {}},
    {"Dec Order Playback", cmd::kDecOrderPlayback, {}},
};

constexpr MenuItemTemplate kHelp[] = {
    {"Manual", cmd::kManual, {}},
    {"About Tavimor(VP8 Only)", cmd::kAbout, {}},
};

constexpr MenuItemTemplate kMenuBar[] = {
    {"File", 0, kFile, true}, {"Info", 0, kInfo, true}, {"Tools", 0, kTools, true},
    {"View", 0, kView, true}, {"Help", 0, kHelp, true},
};

constexpr MenuItemTemplate kStatistics[] = {
    {"off", cmd::kStatisticsOff, {}},
    {"MB Bit Number", cmd::kStatisticsBits, {}},
};

constexpr MenuItemTemplate kComponents[] = {
    {"off", cmd::kComponentsAll, {}},
    {"Y only", cmd::kComponentsY, {}},
    {"Cr only", cmd::kComponentsCr, {}},
    {"Cb only", cmd::kComponentsCb, {}},
};

constexpr MenuItemTemplate kVp8PopupItems[] = {
    {"Statistics", 0, kStatistics, true},
    {"Select Components", 0, kComponents, true},
    {"Container Structure", cmd::kContainerStructure, {}},
};

constexpr MenuItemTemplate kVp8Popup[] = {{"VP8", 0, kVp8PopupItems, true}};

constexpr MenuItemTemplate kFontSizes[] = {
    {"8", cmd::kFontSizeFirst + 0, {}},  {"9", cmd::kFontSizeFirst + 1, {}},
    {"10", cmd::kFontSizeFirst + 2, {}}, {"11", cmd::kFontSizeFirst + 3, {}},
    {"12", cmd::kFontSizeFirst + 4, {}}, {"13", cmd::kFontSizeFirst + 5, {}},
    {"14", cmd::kFontSizeFirst + 6, {}}, {"15", cmd::kFontSizeFirst + 7, {}},
    {"16", cmd::kFontSizeFirst + 8, {}},
};

constexpr MenuItemTemplate kEditPopupItems[] = {
    {"Select All", cmd::kSelectAll, {}},
    {"Change Font Size", 0, kFontSizes, true},
};

constexpr MenuItemTemplate kEditPopup[] = {{"Edit", 0, kEditPopupItems, true}};

constexpr MenuTemplate kMenus[] = {
    {kMenuBarName, kMenuBar},
    {"VP8POPUP", kVp8Popup},
    {"EDITPOPUP", kEditPopup},
};

}  // namespace

std::span<const MenuTemplate> menu_templates() {
    return kMenus;
}

const MenuTemplate* find_menu_template(std::string_view name) {
    for (const MenuTemplate& menu : kMenus) {
        if (menu.name == name) return &menu;
    }
    return nullptr;
}

}  // namespace tavimor
