// Identifiers of the controls of the main window and of the dialogs.
#pragma once

namespace tavimor::ctl {

// Buttons that end a dialog.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// Main window children.
inline constexpr int kToolbar = 200;
inline constexpr int kStatusLabel = 2054;
inline constexpr int kViewTabBar = 2067;

// "FILETYPEDLG", "DEMUXERTYPEDLG", "VIDEOOUTPUTDLG"
inline constexpr int kTypeList = 2060;
inline constexpr int kBrowse = 2061;
inline constexpr int kPathField = 2062;
inline constexpr int kEnableSyntaxParsing = 2135;

// "MBSEARCHDLG"
inline constexpr int kMbSearchStart = 2063;
inline constexpr int kMbSearchResult = 2095;
inline constexpr int kMbSearchType = 2064;

// "PICANALYZERDLG"
inline constexpr int kGraphFrame = 2087;

// "DISPCTRLDLG"
inline constexpr int kComponentY = 3048;
inline constexpr int kComponentU = 3049;
inline constexpr int kComponentV = 3050;
inline constexpr int kStatisticsOffRadio = 2082;  // 2082 to 2086
inline constexpr int kStatisticsBitsRadio = 2083;
inline constexpr int kStatisticsQpRadio = 2084;
inline constexpr int kStatisticsQpCrRadio = 2085;
inline constexpr int kStatisticsQpCbRadio = 2086;
inline constexpr int kBitPlaneFirst = 2103;  // "B0" to "B7": 2103 to 2110
inline constexpr int kBitPlaneLast = 2110;

// Information dialogs: tab control and the text or tree below it.
inline constexpr int kMbInfoTabs = 2051;
inline constexpr int kMbInfoText = 2100;
inline constexpr int kPixelInfoTabs = 2101;
inline constexpr int kPixelInfoText = 2102;
inline constexpr int kSummaryTabs = 2121;
inline constexpr int kSummaryText = 2122;
inline constexpr int kHeaderTabs = 2098;
inline constexpr int kHeaderTree = 2127;
inline constexpr int kHeaderAuxFirst = 2128;  // 2128 to 2131, hidden by the VP8 module
inline constexpr int kHeaderAuxLast = 2131;

// "FPSDLG"
inline constexpr int kFpsField = 3058;

// "GOTODLG"
inline constexpr int kGotoColumn = 3068;
inline constexpr int kGotoRow = 3069;
inline constexpr int kGotoFrame = 3070;

// "CONTAINERSTRUCTDLG"
inline constexpr int kStructureTypeList = 2132;
inline constexpr int kStructureTree = 2133;
inline constexpr int kOpenInFile = 2134;

// "MSGDIALOG"
inline constexpr int kNoticeText = 2138;
inline constexpr int kDontShowAgain = 2139;

// "STREAMGRAPHDLG"
inline constexpr int kStreamGraphFrame = 2140;
inline constexpr int kStreamGraphLegend = 2141;

}  // namespace tavimor::ctl
