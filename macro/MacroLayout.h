// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where everything sits on the macro page (665 x 467 design units) and in the gun-set
// dialog (619 x 400); every rectangle is multiplied by the scale factor when laid out.

#include <QRect>

namespace MacroLayout {
// Side panel: the macro list or the command tree, and the list's commands.
constexpr QRect kSidePanel(0, 0, 207, 467);
constexpr QRect kMouseAction(10, 6, 190, 28);
constexpr QRect kPanelTitle(10, 40, 110, 20);
constexpr QRect kBatch(124, 40, 76, 20);
constexpr QRect kPanel(10, 62, 190, 236);
constexpr QRect kNameLabel(10, 302, 190, 18);
constexpr QRect kNameField(10, 322, 190, 26);
constexpr QRect kChangeName(10, 354, 92, 28);
constexpr QRect kNew(108, 354, 92, 28);
constexpr QRect kDeleteMacro(10, 388, 92, 28);
constexpr QRect kGunSet(108, 388, 92, 28);
constexpr QRect kImport(10, 422, 92, 28);
constexpr QRect kExport(108, 422, 92, 28);

// Recording and the event table.
constexpr QRect kRecord(214, 6, 100, 28);
constexpr QRect kRecordHint(322, 6, 333, 28);
constexpr QRect kTable(214, 40, 441, 236);
// Two rows of event commands under the table.
constexpr int kCommandX = 214, kCommandRow1 = 282, kCommandRow2 = 314, kCommandH = 28;
constexpr int kCommandW = 70, kCommandGap = 4, kWideCommandW = 96;

// Delay and loop options (hidden in edit mode), in page coordinates.
constexpr QRect kOptions(214, 348, 441, 84);
constexpr QRect kRecordDelays(214, 352, 236, 22);
constexpr QRect kDefaultDelay(214, 380, 160, 22);
constexpr QRect kDefaultDelayField(378, 380, 56, 22);
constexpr QRect kDefaultDelayUnit(438, 380, 20, 22);
constexpr QRect kLoopTimes(462, 352, 136, 22);
constexpr QRect kLoopTimeField(602, 352, 53, 22);
constexpr QRect kRepeatWhileDown(462, 380, 193, 22);
constexpr QRect kRepeatUntilDown(462, 408, 193, 22);

// The step editors of edit mode, in the same place (page coordinates).
constexpr QRect kStepEditor(214, 348, 250, 92);
constexpr QRect kEditKeyLabel(214, 352, 100, 24);
constexpr QRect kEditKey(318, 352, 140, 24);
constexpr QRect kEditDelayLabel(214, 382, 100, 24);
constexpr QRect kEditDelay(318, 382, 140, 24);
constexpr QRect kEditMoveLabel(214, 412, 100, 24);
constexpr QRect kEditMove(318, 412, 140, 24);

constexpr QRect kSave(475, 436, 86, 28);
constexpr QRect kCancel(569, 436, 86, 28);

// Gun-set dialog.
constexpr int kGunWidth = 619, kGunHeight = 400;
constexpr QRect kGunTitle(20, 14, 579, 28);
constexpr QRect kGunNameLabel(30, 62, 130, 26);
constexpr QRect kGunNameField(163, 62, 300, 26);
constexpr QRect kGunBulletsLabel(30, 141, 130, 39);
// Shot i is the column at x = 163 + 66 i; its bullet picture is 9 x 39 at y = 141.
constexpr int kGunColumnX = 163, kGunColumnStep = 66, kGunColumnW = 60;
constexpr int kGunBulletY = 141, kGunBulletW = 9, kGunBulletH = 39;
constexpr int kGunDelayY = 196, kGunVerticalY = 232, kGunHorizontalY = 268, kGunRowH = 26;
constexpr int kGunRowLabelX = 30, kGunRowLabelW = 104;
// A shot's spin boxes are centred under its bullet.
constexpr int kGunSpinOffset = -26;
constexpr QRect kGunYes(189, 336, 100, 32);
constexpr QRect kGunNo(329, 336, 100, 32);
} // namespace MacroLayout
