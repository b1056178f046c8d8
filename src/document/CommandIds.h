#pragma once

namespace zandrel::document {

// Numeric command identifiers. The editor's own commands use the small numbers; the rest keep
// the values of the document/view framework the program was first written for, because key
// tables and tests name commands by these numbers.
namespace cmd {
inline constexpr int kViewSolid = 130;
inline constexpr int kViewWireframe = 131;
inline constexpr int kFlatten = 180;
inline constexpr int kLevel = 181;
inline constexpr int kLandslide = 182;
inline constexpr int kTilt = 183;
inline constexpr int kMerge = 184;
inline constexpr int kGoalArea = 190;
inline constexpr int kStart = 191;
inline constexpr int kRaise = 194;
inline constexpr int kPyramid = 196;
inline constexpr int kEnemies = 200;
inline constexpr int kMapCheck = 201;
inline constexpr int kFileExportImage = 202;
inline constexpr int kFileImportHeightmap = 203;
inline constexpr int kViewRelief = 204;
inline constexpr int kViewGrid = 205;
inline constexpr int kViewContours = 206;
inline constexpr int kViewTintHeight = 207;
inline constexpr int kViewTintGravity = 208;
inline constexpr int kViewTintFriction = 209;
inline constexpr int kRotateClipboard = 220;
inline constexpr int kFlipClipboardX = 221;
inline constexpr int kFlipClipboardZ = 222;
inline constexpr int kMapSize = 223;
inline constexpr int kBrushTile = 224;
inline constexpr int kBrushWall = 225;
inline constexpr int kViewOverview = 226;
inline constexpr int kViewHistory = 227;

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFileMru1 = 57616;
inline constexpr int kFileMruLast = 57631;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kWindowNew = 57648;
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTile = 57651;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// Marks a separator in menu and toolbar layouts.
inline constexpr int kSeparator = 0;
}  // namespace cmd

}  // namespace zandrel::document
