// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where everything sits on the button page and in its dialogs, in design units; every value
// is multiplied by the scale factor when it is laid out.

#include <QRect>

namespace ButtonsLayout {
// The page fills the width of its panel.
constexpr int kFrameWidth = 664;

// The button list: one column of numbered buttons.
constexpr int kListX = 56;
constexpr int kListW = 220;
constexpr int kListH = 30;
// With more than nine buttons the list starts this far down and keeps this gap.
constexpr int kLongListTop = 30;
constexpr int kLongListGap = 20;
constexpr int kLongListLimit = 9;
// Shorter lists share the panel's height out evenly, but never closer than this.
constexpr int kMinGap = 2;

// The two wheel buttons stand beside the last two rows of the list, each after its arrow.
constexpr int kWheelArrowX = 290;
constexpr int kWheelArrowW = 28;
constexpr int kWheelArrowH = 20;
constexpr int kWheelX = 322;
constexpr int kWheelW = 92;

// Pop-up menus.
constexpr int kMenuWidth = 160;

// The frame every dialog of the page shares: title on top, "Yes" and "No" at the foot.
constexpr int kTitleTop = 18;
constexpr int kTitleH = 26;
constexpr int kTitlePixels = 16;
constexpr int kTextPixels = 14;
constexpr int kButtonW = 100;
constexpr int kButtonH = 32;
constexpr int kButtonGap = 30;
constexpr int kButtonBottom = 26; // from the dialog's foot to the buttons' foot

// The key capture dialogs.
constexpr int kKeyDialogW = 400;
constexpr int kKeyDialogH = 258;
constexpr QRect kKeyHint(30, 66, 340, 22);
constexpr QRect kKeyBox(50, 104, 300, 44);
constexpr int kKeyPixels = 18;
// The fire key dialog: four kinds in a row, the key, then shots and delay.
constexpr int kKindTop = 58;
constexpr int kKindLeft = 30;
constexpr int kKindH = 24;
constexpr QRect kFireKeyBox(50, 92, 300, 36);
constexpr int kFieldTop = 142;
constexpr int kFieldLabelW = 62;
constexpr int kFieldW = 60;
constexpr int kFieldH = 26;
constexpr int kTimesX = 50;
constexpr int kDelayX = 210;
// The sniper dialog.
constexpr QRect kSniperSlider(50, 110, 300, 24);
constexpr QRect kSniperValue(50, 144, 300, 24);

// The macro select dialog.
constexpr int kMacroDialogW = 478;
constexpr int kMacroDialogH = 309;
constexpr QRect kMacroNameLabel(50, 64, 110, 28);
constexpr QRect kMacroName(164, 64, 264, 28);
constexpr QRect kLoopLabel(50, 104, 110, 26);
constexpr QRect kLoopEdit(164, 104, 70, 26);
constexpr int kLoopOptionTop = 142;
constexpr int kLoopOptionStep = 28;
constexpr int kLoopOptionX = 50;
constexpr int kLoopOptionW = 380;
constexpr int kCheckImage = 16;
} // namespace ButtonsLayout
