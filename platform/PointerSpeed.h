// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's pointer speed on a 1..20 scale (10 = the pointer moves as the mouse reports,
// lower is slower, higher is faster).
//
// On X11 the speed is the server's pointer acceleration: each speed has a fixed
// numerator/denominator pair (pointerSpeedFraction) given to XChangePointerControl; the
// threshold is left as the user set it. Reading maps the server's pair back to the speed
// whose fraction is nearest. Without an X display nothing is changed and reading gives
// the default speed.

namespace PointerSpeed {

constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 20;
constexpr int kDefaultSpeed = 10;

// Results of writeSpeed.
enum Result {
    Done = 0,
    NoDisplay = 1,  // no X display could be opened
    OutOfRange = 2, // the speed is not 1..20; nothing was changed
};

struct Fraction {
    int numerator;
    int denominator;
};

// The acceleration pair of a speed 1..20 (the speed is clamped to that range).
Fraction pointerSpeedFraction(int speed);
// The speed 1..20 whose pair is nearest to numerator/denominator; the default speed when
// the denominator is not positive or the numerator negative.
int speedFromFraction(int numerator, int denominator);

// The current speed of the host, or kDefaultSpeed without a display.
int readSpeed();
// Sets the host's speed; a speed outside 1..20 changes nothing.
Result writeSpeed(int speed);

} // namespace PointerSpeed
