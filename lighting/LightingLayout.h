// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the lighting page's and the colour editor's controls sit, in design units; every
// rectangle is multiplied by the scale factor when it is laid out.

#include <QRect>

namespace LightingLayout {
// The page: the effect on top, then two slider rows and the colour on the left; the sleep
// time and "MOVE TO LIGHT OFF" on the right.
constexpr QRect kEffectLabel(30, 20, 96, 28);
constexpr QRect kEffectButton(130, 20, 228, 28);
constexpr QRect kFirstRowLabel(30, 78, 201, 18);
constexpr QRect kFirstRowSlider(30, 97, 228, 25);
constexpr QRect kSecondRowLabel(30, 137, 201, 18);
constexpr QRect kSecondRowSlider(30, 156, 228, 25);
constexpr QRect kColourLabel(30, 196, 201, 18);
constexpr QRect kSwatch(30, 215, 228, 26);
constexpr QRect kSleepLabel(380, 78, 201, 18);
constexpr QRect kSleepSlider(380, 97, 180, 25);
constexpr QRect kSleepValue(568, 97, 90, 25);
constexpr QRect kMoveOff(380, 137, 278, 24);
constexpr int kHeadingPixels = 13;
constexpr int kEffectPixels = 13;

// Slider ranges.
constexpr int kBrightMin = 1, kBrightMax = 3;
constexpr int kSpeedMin = 1, kSpeedMax = 5;

// The colour editor: 400 x 258.
constexpr int kEditorWidth = 400;
constexpr int kEditorHeight = 258;
constexpr int kFieldSize = 128; // the hue bar's height and the saturation/value square
constexpr QRect kEditorTitle(20, 12, 200, 22);
constexpr QRect kSvField(20, 44, kFieldSize, kFieldSize);
constexpr QRect kHueBar(156, 44, 28, kFieldSize);
constexpr QRect kPreview(20, 184, 164, 24);
constexpr int kBoxColumn1 = 200, kBoxColumn2 = 296, kBoxTop = 44, kBoxStep = 32;
constexpr int kBoxWidth = 86, kBoxHeight = 24;
constexpr QRect kHexField(200, 140, 182, 24);
constexpr int kPresetLeft = 200, kPresetTop = 186, kPresetStep = 26, kPresetSize = 20;
constexpr QRect kAcceptButton(196, 218, 90, 28);
constexpr QRect kRejectButton(292, 218, 90, 28);
constexpr int kEditorTextPixels = 12;
} // namespace LightingLayout
