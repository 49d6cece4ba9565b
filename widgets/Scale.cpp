// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scale.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace {

// Thresholds in tenths of the ratio. Comparing tenths with a tolerance far below the
// spacing of the thresholds makes 1.1 * 96 dots land on step 1 although 105.6 / 96 is
// not exactly 1.1 in binary.
constexpr int kThresholdTenths[kScaleSteps - 1] = {11, 14, 16, 18, 21, 23, 26, 28,
                                                   31, 33, 36, 38, 41, 43, 46, 48};
constexpr double kTolerance = 1e-7;

std::atomic<double> g_factor{1.0};

} // namespace

int scaleStepForRatio(double ratio) {
    if (!(ratio == ratio)) // NaN
        return 0;
    const double tenths = ratio * 10.0;
    int step = 0;
    for (int threshold : kThresholdTenths) {
        if (tenths + kTolerance < threshold)
            break;
        ++step;
    }
    return step;
}

int scaleStepForDpi(double logicalDpi) {
    return scaleStepForRatio(logicalDpi / 96.0);
}

double scaleFactorForStep(int step) {
    return 1.0 + 0.25 * std::clamp(step, 0, kScaleSteps - 1);
}

double scaleFactor() {
    return g_factor.load(std::memory_order_relaxed);
}

void setScaleFactor(double factor) {
    if (!(factor == factor))
        return;
    g_factor.store(std::clamp(factor, 1.0, 5.0), std::memory_order_relaxed);
}

int roundHalfEven(double value) {
    if (!(value == value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5)
        result = lower + 1.0;
    else if (fraction == 0.5)
        result = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    return static_cast<int>(result);
}

int scaled(int designValue) {
    return scaled(designValue, scaleFactor());
}

int scaled(int designValue, double factor) {
    return roundHalfEven(designValue * factor);
}

int scaled(double designValue, double factor) {
    return roundHalfEven(designValue * factor);
}

QSize scaledSize(int w, int h) {
    return scaledSize(w, h, scaleFactor());
}

QSize scaledSize(int w, int h, double factor) {
    return QSize(scaled(w, factor), scaled(h, factor));
}

QRect scaledRect(int x, int y, int w, int h) {
    return scaledRect(x, y, w, h, scaleFactor());
}

QRect scaledRect(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height(), scaleFactor());
}

QRect scaledRect(int x, int y, int w, int h, double factor) {
    return QRect(scaled(x, factor), scaled(y, factor), scaled(w, factor), scaled(h, factor));
}
