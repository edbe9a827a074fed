#include "resources/dialog_templates.h"

#include "resources/control_ids.h"
#include "resources/image_ids.h"

namespace tavimor {

namespace {

using K = ControlKind;
constexpr int kNone = kUnaddressedControl;

constexpr ControlTemplate kFileType[] = {
    {K::kLabel, kNone, "Please select a type: ", 10, 14, 140, 16},
    {K::kComboBox, ctl::kTypeList, "", 150, 10, 160, 22},
    {K::kLabel, kNone, "Dump file:", 10, 46, 100, 16},
    {K::kEdit, ctl::kPathField, "", 10, 66, 264, 22},
    {K::kImageButton, ctl::kBrowse, "...", 282, 64, 28, 26, true, false, kBrowseImage},
    {K::kDefaultButton, ctl::kOk, "OK", 150, 108, 75, 26},
    {K::kPushButton, ctl::kCancel, "Cancel", 235, 108, 75, 26},
};

constexpr ControlTemplate kDemuxerType[] = {
    {K::kLabel, kNone, "Please select a type: ", 10, 14, 140, 16},
    {K::kComboBox, ctl::kTypeList, "", 150, 10, 160, 22},
    {K::kCheckBox, ctl::kEnableSyntaxParsing, "Enable Syntax parsing", 10, 46, 200, 20},
    {K::kDefaultButton, ctl::kOk, "OK", 150, 82, 75, 26},
    {K::kPushButton, ctl::kCancel, "Cancel", 235, 82, 75, 26},
};

constexpr ControlTemplate kVideoOutput[] = {
    {K::kLabel, kNone, "Please select a file to dump", 10, 10, 300, 16},
    {K::kEdit, ctl::kPathField, "", 10, 32, 300, 22},
    {K::kImageButton, ctl::kBrowse, "...", 318, 30, 30, 26, true, false, kBrowseImage},
    {K::kDefaultButton, ctl::kOk, "OK", 273, 70, 75, 26},
};

constexpr ControlTemplate kFps[] = {
    {K::kLabel, kNone, "Set FPS value: ", 10, 14, 100, 16},
    {K::kEdit, ctl::kFpsField, "", 115, 10, 110, 22},
    {K::kDefaultButton, ctl::kOk, "OK", 65, 50, 75, 26},
    {K::kPushButton, ctl::kCancel, "Cancel", 150, 50, 75, 26},
};

constexpr ControlTemplate kGoto[] = {
    {K::kLabel, kNone, "MB_X:", 10, 14, 70, 16},
    {K::kEdit, ctl::kGotoColumn, "", 90, 10, 135, 22},
    {K::kLabel, kNone, "MB_Y:", 10, 44, 70, 16},
    {K::kEdit, ctl::kGotoRow, "", 90, 40, 135, 22},
    {K::kLabel, kNone, "Frame No:", 10, 74, 70, 16, false},
    {K::kEdit, ctl::kGotoFrame, "", 90, 70, 135, 22, false},
    {K::kDefaultButton, ctl::kOk, "GO", 65, 100, 75, 26},
    {K::kPushButton, ctl::kCancel, "Cancel", 150, 100, 75, 26},
};

constexpr ControlTemplate kContainerStructure[] = {
    {K::kLabel, kNone, "Please select a type: ", 10, 14, 140, 16},
    {K::kComboBox, ctl::kStructureTypeList, "", 150, 10, 200, 22},
    {K::kPushButton, ctl::kOpenInFile, "Open in file", 360, 8, 100, 26},
    {K::kTreeView, ctl::kStructureTree, "", 10, 44, 500, 426},
};

constexpr ControlTemplate kMbSearch[] = {
    {K::kLabel, kNone, "MB Type:", 10, 14, 70, 16},
    {K::kComboBox, ctl::kMbSearchType, "", 90, 10, 200, 22},
    {K::kPushButton, ctl::kMbSearchStart, "Search", 90, 42, 90, 26},
    {K::kTextView, ctl::kMbSearchResult, "", 10, 78, 280, 100},
    {K::kPushButton, ctl::kCancel, "Close", 200, 186, 90, 26},
};

constexpr ControlTemplate kPictureAnalyzer[] = {
    {K::kLabel, kNone, "Luma histogram", 30, 40, 200, 16},
    {K::kGraphFrame, ctl::kGraphFrame, "", 22, 62, 274, 146},
};

constexpr ControlTemplate kDisplayControl[] = {
    {K::kGroupBox, kNone, "Select YUV component", 10, 8, 160, 100},
    {K::kCheckBox, ctl::kComponentY, "Y Component", 20, 30, 140, 20},
    {K::kCheckBox, ctl::kComponentU, "U Component", 20, 54, 140, 20},
    {K::kCheckBox, ctl::kComponentV, "V Component", 20, 78, 140, 20},
    {K::kGroupBox, kNone, "Statistics", 180, 8, 170, 150},
    {K::kRadioButton, ctl::kStatisticsOffRadio, "Off", 190, 30, 150, 20, true, true},
    {K::kRadioButton, ctl::kStatisticsBitsRadio, "MB BIT Number", 190, 54, 150, 20},
    {K::kRadioButton, ctl::kStatisticsQpRadio, "MB QP", 190, 78, 150, 20},
    {K::kRadioButton, ctl::kStatisticsQpCrRadio, "MB QPCr", 190, 102, 150, 20},
    {K::kRadioButton, ctl::kStatisticsQpCbRadio, "MB QPCb", 190, 126, 150, 20},
    {K::kGroupBox, kNone, "Bit Plane", 10, 116, 160, 84},
    {K::kCheckBox, ctl::kBitPlaneFirst + 0, "B0", 20, 138, 36, 20},
    {K::kCheckBox, ctl::kBitPlaneFirst + 1, "B1", 56, 138, 36, 20},
    {K::kCheckBox, ctl::kBitPlaneFirst + 2, "B2", 92, 138, 36, 20},
    {K::kCheckBox, ctl::kBitPlaneFirst + 3, "B3", 128, 138, 36, 20},
    {K::kCheckBox, ctl::kBitPlaneFirst + 4, "B4", 20, 168, 36, 20},
    {K::kCheckBox, ctl::kBitPlaneFirst + 5, "B5", 56, 168, 36, 20},
    {K::kCheckBox, ctl::kBitPlaneFirst + 6, "B6", 92, 168, 36, 20},
    {K::kCheckBox, ctl::kBitPlaneFirst + 7, "B7", 128, 168, 36, 20},
    {K::kDefaultButton, ctl::kOk, "OK", 275, 212, 75, 26},
};

constexpr ControlTemplate kHeaderInfo[] = {
    {K::kTabControl, ctl::kHeaderTabs, "", 0, 0, 330, 24},
    {K::kTreeView, ctl::kHeaderTree, "", 0, 24, 330, 356, false},
    {K::kTextView, ctl::kHeaderAuxFirst + 0, "", 0, 24, 330, 356, false},
    {K::kTextView, ctl::kHeaderAuxFirst + 1, "", 0, 24, 330, 356, false},
    {K::kTextView, ctl::kHeaderAuxFirst + 2, "", 0, 24, 330, 356, false},
    {K::kTextView, ctl::kHeaderAuxFirst + 3, "", 0, 24, 330, 356, false},
};

constexpr ControlTemplate kMbInfo[] = {
    {K::kTabControl, ctl::kMbInfoTabs, "", 0, 0, 330, 24},
    {K::kTextView, ctl::kMbInfoText, "", 0, 24, 330, 296},
};

constexpr ControlTemplate kPixelInfo[] = {
    {K::kTabControl, ctl::kPixelInfoTabs, "", 0, 0, 460, 24},
    {K::kTextView, ctl::kPixelInfoText, "", 0, 24, 460, 496},
};

constexpr ControlTemplate kSummary[] = {
    {K::kTabControl, ctl::kSummaryTabs, "", 0, 0, 330, 24},
    {K::kTextView, ctl::kSummaryText, "", 0, 24, 330, 336},
};

constexpr ControlTemplate kStreamGraph[] = {
    {K::kGraphFrame, ctl::kStreamGraphFrame, "", 10, 10, 700, 260},
    {K::kLabel, ctl::kStreamGraphLegend, "", 10, 276, 700, 48},
    {K::kPushButton, ctl::kCancel, "Close", 635, 330, 75, 26},
};

constexpr ControlTemplate kNotice[] = {
    {K::kLabel, ctl::kNoticeText, "", 10, 10, 400, 100},
    {K::kCheckBox, ctl::kDontShowAgain, "Don't show next time", 10, 124, 200, 20},
    {K::kDefaultButton, ctl::kOk, "OK", 335, 134, 75, 26},
};

constexpr DialogTemplate kDialogs[] = {
    {"FILETYPEDLG", "Select File Type", 320, 144, kFileType},
    {"DEMUXERTYPEDLG", "Select File Type", 320, 118, kDemuxerType},
    {"VIDEOOUTPUTDLG", "Dump File", 360, 106, kVideoOutput},
    {"FPSDLG", "Set FPS", 240, 86, kFps},
    {"GOTODLG", "Goto MB", 240, 136, kGoto},
    {"CONTAINERSTRUCTDLG", "Container Structure", 520, 480, kContainerStructure, true},
    {"MBSEARCHDLG", "MB Search", 300, 222, kMbSearch},
    {"PICANALYZERDLG", "Graphs", 316, 222, kPictureAnalyzer},
    {"DISPCTRLDLG", "Display Control", 360, 248, kDisplayControl},
    {"HDRINFODLG", "Header Info", 330, 380, kHeaderInfo, true},
    {"MBINFODLG", "MB Info", 330, 320, kMbInfo, true},
    {"PIXELINFODLG", "Pixel Info", 460, 520, kPixelInfo, true},
    {"SUMMARYDLG", "Summary Info", 330, 360, kSummary, true},
    {"MSGDIALOG", "Tavimor(VP8 Only)", 420, 170, kNotice},
    {"STREAMGRAPHDLG", "Stream Graph", 720, 366, kStreamGraph},
};

}  // namespace

std::span<const DialogTemplate> dialog_templates() {
    return kDialogs;
}

const DialogTemplate* find_dialog_template(std::string_view name) {
    for (const DialogTemplate& dialog : kDialogs) {
        if (dialog.name == name) return &dialog;
    }
    return nullptr;
}

}  // namespace tavimor
