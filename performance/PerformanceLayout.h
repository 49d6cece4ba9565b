// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the controls of the DPI, report-rate and sensor pages sit, in design units of each
// page; every rectangle is multiplied by the scale factor when it is laid out.

#include "Scale.h"

#include <QRect>
#include <QWidget>

namespace PerformanceLayout {
// ---- DPI page (456 x 386). The sensor page lies over its lower part from y 338 on, so
// everything it shows stays above that line.
constexpr QRect kDpiTitle(15, 10, 300, 22);
constexpr int kRowX = 15, kRowY = 43, kRowPitch = 50, kRowW = 440, kRowH = 48;
constexpr int kRowsTopMin = 8; // where the rows start when the title gives way
constexpr int kRowGap = kRowPitch - kRowH;
constexpr int kDpiUsableBottom = 336;
// Sleep time and "MOVE TO LIGHT OFF", on one line below the rows, for models without a
// lighting page.
constexpr int kSleepTop = 310;
constexpr QRect kSleepLabel(15, 310, 90, 22);
constexpr QRect kSleepSlider(108, 310, 114, 22);
constexpr QRect kSleepValue(228, 310, 74, 22);
constexpr QRect kMoveOff(306, 310, 148, 22);

// ---- One stage row (440 wide; its height follows the row pitch). Controls that span the
// row are centred on it; the rest sit on its upper or lower line.
constexpr QRect kStageButton(4, 0, 26, 22);
constexpr QRect kEnableBox(36, 0, 20, 18);
// Upper line: the DPI, X and Y readings and "Link XY".
constexpr int kDpiLabelX = 62, kDpiLabelW = 110;
constexpr int kXLabelX = 176, kXLabelW = 76;
constexpr int kYLabelX = 256, kYLabelW = 76;
constexpr int kLinkX = 336, kLinkW = 102;
// Lower line: the range ends either side of the slider.
constexpr int kMinLabelX = 58, kMinLabelW = 46;
constexpr int kSliderX = 108, kSliderW = 270;
constexpr int kMaxLabelX = 384, kMaxLabelW = 54;
constexpr int kRowPixels = 12;      // the DPI reading, bold
constexpr int kRowSmallPixels = 11; // X, Y, "Link XY"
constexpr int kRangePixels = 10;    // the range ends

// ---- Report-rate page (149 x 200).
constexpr QRect kRateTitle(20, 20, 170, 20);
// The rate button stays inside the page's 149 units.
constexpr QRect kRateButton(20, 40, 109, 28);
constexpr int kRateMenuWidth = 150;
constexpr QRect kLiftLabel(20, 86, 125, 20);
constexpr QRect kLift1(20, 110, 110, 22);
constexpr QRect kLift2(20, 134, 110, 22);

// ---- Sensor options page (506 x 77): three lines.
constexpr int kLine0 = 4, kLine1 = 28, kLine2 = 52, kLineH = 22;
constexpr QRect kKeyLabel(12, kLine0, 90, kLineH);
constexpr QRect kKeySlider(104, kLine0, 150, kLineH);
constexpr QRect kKeyValue(258, kLine0, 32, kLineH);
constexpr QRect kSpeedBox(300, kLine0 + 1, 52, kLineH - 2);
constexpr QRect kMouseSetting(360, kLine0 - 1, 134, kLineH + 2);
constexpr QRect kAngle(12, kLine1, 120, kLineH);
constexpr QRect kJitter(136, kLine1, 80, kLineH);
constexpr QRect kWakeFull(220, kLine1, 120, kLineH);
constexpr QRect kWakeAlone(12, kLine1, 120, kLineH);
constexpr QRect kSync(344, kLine1, 150, kLineH);
constexpr QRect kSensorLabel(12, kLine2, 96, kLineH);
constexpr QRect kEco(110, kLine2, 66, kLineH);
constexpr QRect kStandard(180, kLine2, 96, kLineH);
constexpr QRect kCompetitive(280, kLine2, 124, kLineH);
constexpr int kOptionPixels = 11;
// Where the desktop takes no pointer speed from programs, the page grows by a note of up to
// two lines.
constexpr QRect kSpeedNote(12, 74, 482, 28);
constexpr int kHeightWithNote = 106;
constexpr int kNotePixels = 10;

// A design rectangle at the scale factor now published.
inline QRect placed(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height());
}

// The report-rate and sensor pages lie on a translucent panel; the name keeps the panel's
// colour off their children.
inline void makePanel(QWidget *page, const QString &objectName) {
    page->setObjectName(objectName);
    page->setAttribute(Qt::WA_StyledBackground);
    page->setStyleSheet(
        QStringLiteral("#%1{background-color: rgba(33,35,35,0.5); border-radius: 8px;}")
            .arg(objectName));
}
} // namespace PerformanceLayout
