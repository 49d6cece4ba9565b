// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where everything sits in the main window, in design units of the 999 x 640 window. The
// background picture is drawn to fit these places; every rectangle is multiplied by the
// scale factor when it is laid out.

#include <QRect>

namespace MainLayout {
constexpr int kWidth = 999;
constexpr int kHeight = 640;

// The pages. The button list takes the panel's lower left, clear of the Front/Side toggles,
// tall enough for six rows with even gaps down to the panel's edge.
constexpr QRect kBtnWindowArea(285, 290, 664, 251);
constexpr QRect kDpiWindow(286, 75, 456, 386);
constexpr QRect kPointSpeed(286, 413, 506, 77);
// Inside the panel's border and its shadow, level with the DPI page's title.
constexpr QRect kReportRate(746, 85, 149, 200);
constexpr QRect kMacroDialog(285, 74, 665, 467);
constexpr QRect kColorWindow(285, 342, 664, 199);
constexpr QRect kContentArea(285, 74, 665, 467);

// Pictures.
constexpr QRect kFrontPicture(637, 99, 300, 400);
constexpr QRect kSidePicture(637, 99, 316, 443);
constexpr int kSidePictureFit = 300; // the side picture is scaled into 300 x 300
constexpr QRect kReceiverIcon(174, 581, 48, 48);
constexpr QRect kChargingIcon(174, 584, 26, 40);
constexpr QRect kLogo(69, 20, 200, 50);
constexpr QRect kBattery(69, 581, 86, 47);
// The level bar lies in the body of the battery picture.
constexpr QRect kBatteryBar(75, 593, 68, 23);

// Left column.
constexpr QRect kVersion(69, 68, 200, 16);
constexpr int kTabX = 40, kTabY = 100, kTabStep = 52, kTabW = 210, kTabH = 44;
constexpr int kProfileX = 40, kProfileY = 330, kProfileStep = 36, kProfileW = 210, kProfileH = 32;

// Top bar.
constexpr QRect kNameLabel(300, 33, 50, 22);
constexpr QRect kNameField(355, 31, 220, 26);
constexpr QRect kLibraryButton(578, 31, 26, 26);
constexpr QRect kMouseSelect(670, 33, 100, 20);
constexpr QRect kLanguageButton(780, 31, 90, 26);
constexpr QRect kMinimise(915, 22, 30, 30);
constexpr QRect kClose(951, 22, 30, 30);

// Bottom bar: profile commands on the first row, files and sending on the second.
constexpr int kRow1 = 560, kRow2 = 596, kRowH = 28;
constexpr QRect kAdd(290, kRow1, 80, kRowH);
constexpr QRect kDelete(376, kRow1, 80, kRowH);
constexpr QRect kCopy(462, kRow1, 80, kRowH);
constexpr QRect kReset(548, kRow1, 80, kRowH);
constexpr QRect kResetAll(634, kRow1, 96, kRowH);
constexpr QRect kSlotButton(744, kRow1, 96, kRowH);
constexpr QRect kFirmware(846, kRow1, 104, kRowH);
constexpr QRect kImport(290, kRow2, 80, kRowH);
constexpr QRect kExport(376, kRow2, 80, kRowH);
constexpr QRect kLoadConfig(462, kRow2, 80, kRowH);
constexpr QRect kSaveConfig(548, kRow2, 80, kRowH);
constexpr QRect kOk(674, kRow2, 86, kRowH);
constexpr QRect kCancel(766, kRow2, 86, kRowH);
constexpr QRect kApply(858, kRow2, 92, kRowH);

// The CUSTOMIZE page's own controls.
constexpr QRect kFrontToggle(300, 90, 76, 26);
constexpr QRect kSideToggle(382, 90, 76, 26);
constexpr int kSpotSize = 22;

// A drag starts moving the window once the pointer went further than this (in pixels,
// horizontal plus vertical distance).
constexpr int kDragThreshold = 4;
} // namespace MainLayout
