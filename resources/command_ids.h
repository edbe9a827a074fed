// Command identifiers shared by the menus, the toolbar, the popup menus and the
// string table that holds the tooltips.
#pragma once

namespace tavimor::cmd {

inline constexpr int kOpen = 211;
inline constexpr int kClose = 212;
inline constexpr int kRecentFirst = 215;  // 215 to 218, one per history slot
inline constexpr int kRecentLast = 218;
inline constexpr int kRecentFiles = 219;  // the "Recent Files" submenu
inline constexpr int kDroppedFile = 220;
inline constexpr int kQuit = 221;

inline constexpr int kPlay = 231;
inline constexpr int kFastForward = 232;
inline constexpr int kFastRewind = 233;
inline constexpr int kPause = 234;
inline constexpr int kStop = 236;
inline constexpr int kStepForward = 237;
inline constexpr int kStepBackward = 238;

inline constexpr int kMbRect = 251;
inline constexpr int kMbBlocks = 252;
inline constexpr int kMbMvs = 253;
inline constexpr int kSliceBoundary = 254;
inline constexpr int kMbPopup = 255;
inline constexpr int kMbType = 256;
inline constexpr int kDecOrderPlayback = 257;

inline constexpr int kStartYuvOutput = 291;
inline constexpr int kEndYuvOutput = 292;
inline constexpr int kPictureAnalyzer = 293;
inline constexpr int kFpsSettings = 294;
inline constexpr int kGotoMb = 295;
inline constexpr int kMbInfo = 297;
inline constexpr int kMbSearch = 298;
inline constexpr int kPixelInfo = 299;
inline constexpr int kHeaderInfo = 300;
inline constexpr int kOpenReferenceYuv = 301;
inline constexpr int kStartMbInfoDump = 302;
inline constexpr int kEndMbInfoDump = 303;
inline constexpr int kHistogram = 304;
inline constexpr int kSummaryInfo = 305;
inline constexpr int kOneSegCheck = 306;
inline constexpr int kDumpHeaderTree = 307;
inline constexpr int kContainerStructure = 308;
inline constexpr int kModuleCommand309 = 309;
inline constexpr int kStreamGraph = 310;  // the "Stream Graph" dialog
inline constexpr int kFrameView = 311;
inline constexpr int kTopFieldView = 312;
inline constexpr int kBottomFieldView = 313;
inline constexpr int kVerticalZoom = 314;
inline constexpr int kBothFields = 315;

inline constexpr int kAbout = 361;
inline constexpr int kWebAddress = 362;
inline constexpr int kMailAddress = 363;
inline constexpr int kManual = 365;

inline constexpr int kFontSizeFirst = 561;  // 561 to 569: sizes 8 to 16
inline constexpr int kFontSizeLast = 569;
inline constexpr int kSelectAll = 570;
inline constexpr int kStatisticsOff = 571;
inline constexpr int kStatisticsBits = 572;
inline constexpr int kComponentsAll = 576;
inline constexpr int kComponentsY = 577;
inline constexpr int kComponentsCr = 578;
inline constexpr int kComponentsCb = 579;

}  // namespace tavimor::cmd
