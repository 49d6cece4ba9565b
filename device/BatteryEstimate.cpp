// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryEstimate.h"

#include "MouseRequests.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kHourMs = 60.0 * 60.0 * 1000.0;
// A rise this large between two readings on the battery: the mouse was charged where no
// reading was taken (the program not running), and the discharge starts anew.
constexpr int kUnseenChargeMv = 150;
constexpr qint64 kClockSlackMs = 60 * 1000;

// Millivolts over hours since a fixed time.
struct Line {
    double at0 = 0;
    double perHour = 0;
    double at(double hours) const { return at0 + perHour * hours; }
};

struct Point {
    double hours;
    double millivolts;
};

std::optional<Line> leastSquares(const std::vector<Point> &points) {
    const double n = double(points.size());
    double sx = 0, sy = 0;
    for (const Point &p : points) {
        sx += p.hours;
        sy += p.millivolts;
    }
    const double mx = sx / n, my = sy / n;
    double sxx = 0, sxy = 0;
    for (const Point &p : points) {
        sxx += (p.hours - mx) * (p.hours - mx);
        sxy += (p.hours - mx) * (p.millivolts - my);
    }
    if (points.size() < 3 || sxx <= 0)
        return std::nullopt;
    Line line;
    line.perHour = sxy / sxx;
    line.at0 = my - line.perHour * mx;
    return line;
}

// The line through the samples, fitted once more without the readings far off the first
// line (a reading disturbed by a load or a wake-up), so that one such reading does not tilt it.
std::optional<Line> fitStretch(const BatterySample *begin, const BatterySample *end, qint64 t0) {
    std::vector<Point> points;
    for (const BatterySample *s = begin; s != end; ++s)
        points.push_back({double(s->timeMs - t0) / kHourMs, double(s->millivolts)});
    const std::optional<Line> first = leastSquares(points);
    if (!first)
        return first;
    double squares = 0;
    for (const Point &p : points)
        squares += std::pow(p.millivolts - first->at(p.hours), 2);
    const double limit = 2.5 * std::sqrt(squares / double(points.size()));
    std::vector<Point> near;
    std::copy_if(points.begin(), points.end(), std::back_inserter(near), [&](const Point &p) {
        return std::abs(p.millivolts - first->at(p.hours)) <= limit;
    });
    const std::optional<Line> second = leastSquares(near);
    return second ? second : first;
}
} // namespace

int emptyMillivolts(int fullValue) {
    // The two lowest millivolts at which the level steps up, and the levels from there.
    int steps[2][2] = {};
    int found = 0;
    for (int mv = 1; mv <= fullValue && found < 2; ++mv) {
        const int level = batteryLevelFor(mv, fullValue);
        if (level != batteryLevelFor(mv - 1, fullValue)) {
            steps[found][0] = mv;
            steps[found][1] = level;
            ++found;
        }
    }
    if (found < 2)
        return found ? steps[0][0] : 0;
    const double perLevel = double(steps[1][0] - steps[0][0]) / double(steps[1][1] - steps[0][1]);
    return std::max(0, int(std::lround(steps[0][0] - perLevel * steps[0][1])));
}

BatteryEstimate estimateBattery(const QVector<BatterySample> &samples, qint64 nowMs,
                                int fullValue) {
    BatteryEstimate estimate;
    // A clock behind the readings (set wrong, now or when they were taken) tells no time.
    if (samples.isEmpty() || nowMs < samples.last().timeMs - kClockSlackMs)
        return estimate;
    const bool charging = samples.last().charging;
    // The last stretch of readings with the same charging state.
    const BatterySample *end = samples.constData() + samples.size();
    const BatterySample *begin = end;
    // A rise as large as a charge gives ends a discharge at a charge nobody saw; a fall as large
    // ends a charge at a discharge nobody saw.
    while (begin != samples.constData() && (begin - 1)->charging == charging &&
           (begin == end ||
            (charging ? (begin - 1)->millivolts - begin->millivolts
                      : begin->millivolts - (begin - 1)->millivolts) < kUnseenChargeMv))
        --begin;
    const qint64 t0 = begin->timeMs;
    const double span = double((end - 1)->timeMs - t0) / kHourMs;
    const std::optional<Line> line = fitStretch(begin, end, t0);
    if (!line)
        return estimate;
    const double now = double(nowMs - t0) / kHourMs;
    const double change = line->perHour * span;
    // A line that has already passed full (charging done, the reading no longer changing) or
    // empty tells no time.
    if (charging) {
        const double hours = (fullValue - line->at(now)) / line->perHour;
        if (span * kHourMs >= double(kMinChargeMs) && change >= kMinChargeRiseMv && hours > 0 &&
            samples.last().millivolts < fullValue)
            estimate.hoursToFull = hours;
    } else if (span * kHourMs >= double(kMinDischargeMs) && -change >= kMinDischargeDropMv) {
        const double hours = (line->at(now) - emptyMillivolts(fullValue)) / -line->perHour;
        if (hours > 0)
            estimate.hoursLeft = hours;
    }
    return estimate;
}
