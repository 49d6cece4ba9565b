// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer speed of an X11 session: the server's pointer acceleration.
#include "PointerSpeedBackends.h"

#include <X11/Xlib.h>

#include <cmath>
#include <cstdlib>

namespace PointerSpeed {
namespace {

// Pointer multipliers of the 1..20 scale: below 10 in steps of 1/8 (with 1/32 and 1/16
// at the slow end), above 10 in steps of 1/4.
// clang-format off
const Fraction kFractions[kMaxSpeed] = {
    {1, 32}, {1, 16}, {1, 8},  {1, 4},  {3, 8},  {1, 2},  {5, 8},  {3, 4},  {7, 8},  {1, 1},
    {5, 4},  {3, 2},  {7, 4},  {2, 1},  {9, 4},  {5, 2},  {11, 4}, {3, 1},  {13, 4}, {7, 2},
};
// clang-format on

// An X connection for one call; closed again when the call ends.
class DisplayConnection {
public:
    DisplayConnection() : m_display(openDisplay()) {}
    ~DisplayConnection() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    DisplayConnection(const DisplayConnection &) = delete;
    DisplayConnection &operator=(const DisplayConnection &) = delete;
    Display *get() const { return m_display; }

private:
    static Display *openDisplay() {
        // XOpenDisplay(nullptr) would do the same test, but without DISPLAY there is no
        // point in loading the connection machinery at all.
        const char *name = std::getenv("DISPLAY");
        if (!name || !*name)
            return nullptr;
        return XOpenDisplay(name);
    }
    Display *m_display;
};

} // namespace

Fraction pointerSpeedFraction(int speed) {
    if (speed < kMinSpeed)
        speed = kMinSpeed;
    if (speed > kMaxSpeed)
        speed = kMaxSpeed;
    return kFractions[speed - 1];
}

int speedFromFraction(int numerator, int denominator) {
    if (denominator <= 0 || numerator < 0)
        return kDefaultSpeed;
    const double ratio = double(numerator) / double(denominator);
    int best = kDefaultSpeed;
    double bestDistance = -1.0;
    for (int s = kMinSpeed; s <= kMaxSpeed; ++s) {
        const Fraction f = kFractions[s - 1];
        const double distance = std::fabs(ratio - double(f.numerator) / double(f.denominator));
        if (bestDistance < 0.0 || distance < bestDistance) {
            best = s;
            bestDistance = distance;
        }
    }
    return best;
}

int readX11Speed() {
    DisplayConnection display;
    if (!display.get())
        return kDefaultSpeed;
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
    XGetPointerControl(display.get(), &numerator, &denominator, &threshold);
    return speedFromFraction(numerator, denominator);
}

Result writeX11Speed(int speed) {
    DisplayConnection display;
    if (!display.get())
        return NoDisplay;
    const Fraction f = pointerSpeedFraction(speed);
    XChangePointerControl(display.get(), True, False, f.numerator, f.denominator, 0);
    XSync(display.get(), False);
    return Done;
}

} // namespace PointerSpeed
