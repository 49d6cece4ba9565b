// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Display scale: every window is laid out in design coordinates (the main window is
// 999 x 640) multiplied by one factor chosen from the screen's logical DPI.

#include <QRect>
#include <QSize>

constexpr int kScaleSteps = 17;

// The step 0..16 for a ratio of logical DPI to 96. The thresholds are 1.1, 1.4, 1.6, 1.8,
// 2.1, 2.3, 2.6, 2.8, 3.1, 3.3, 3.6, 3.8, 4.1, 4.3, 4.6 and 4.8; a ratio at a threshold
// takes the upper step. Below 1.1 (and for NaN) the step is 0.
int scaleStepForRatio(double ratio);
// The same for a logical DPI value (ratio = dpi / 96), exact at the thresholds.
int scaleStepForDpi(double logicalDpi);
// 1.0 + 0.25 * step; steps outside 0..16 are clamped.
double scaleFactorForStep(int step);

// The factor published for the whole process (1.0 until set). Values are clamped to
// 1.0 .. 5.0; a value that is not a number is ignored.
double scaleFactor();
void setScaleFactor(double factor);

// Nearest integer; an exact half goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Values beyond the int range are clamped to it; NaN gives 0.
int roundHalfEven(double value);

// A design value times a factor (the published one unless given), rounded as above.
int scaled(int designValue);
int scaled(int designValue, double factor);
int scaled(double designValue, double factor);
QSize scaledSize(int w, int h);
QSize scaledSize(int w, int h, double factor);
QRect scaledRect(int x, int y, int w, int h);
QRect scaledRect(int x, int y, int w, int h, double factor);
QRect scaledRect(const QRect &design);
