// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How long the battery lasts, from its history: a straight line fitted by least squares to
// the millivolts of the discharge since the mouse was last charged, followed to the
// millivolts where the program's level rule (batteryLevelFor) reaches 0; while charging, the
// line of the charge followed to the full value. Nothing is told before the data carry it.

#include "BatteryHistory.h"

#include <optional>

struct BatteryEstimate {
    std::optional<double> hoursLeft;   // on the battery, until it is empty
    std::optional<double> hoursToFull; // while charging, until it is full
};

// What a discharge needs before it is followed: this long, and a drop of the fitted line of
// at least this much over it.
constexpr qint64 kMinDischargeMs = 2 * 60 * 60 * 1000;
constexpr int kMinDischargeDropMv = 20;
// And a charge.
constexpr qint64 kMinChargeMs = 30 * 60 * 1000;
constexpr int kMinChargeRiseMv = 20;

// The millivolts of level 0: the level rule below its lowest step, carried on with the slope
// of its two lowest steps.
int emptyMillivolts(int fullValue);

// The estimate at nowMs from samples (oldest first); fullValue as for batteryLevelFor.
BatteryEstimate estimateBattery(const QVector<BatterySample> &samples, qint64 nowMs, int fullValue);
