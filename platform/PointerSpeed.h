// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's pointer speed on a 1..20 scale (10 = the pointer moves as the mouse reports,
// lower is slower, higher is faster), set where the desktop keeps it so that its own mouse
// settings show the same and it lasts as the desktop keeps it.
//
// The session chooses the desktop's way (chooseBackend):
// - GNOME (any XDG_CURRENT_DESKTOP naming GNOME, on Wayland or X11): the GSettings key
//   org.gnome.desktop.peripherals.mouse speed, −1..1.
// - KDE Plasma: kcminputrc [Mouse] XLbInptPointerAcceleration, −1..1 (what Plasma on X11
//   applies at login), and on Wayland the live change through KWin's input devices on the
//   session bus, which KWin then keeps per device itself. On X11 also as below.
// - sway: swaymsg input type:pointer pointer_accel, −1..1.
// - any other X11 session: the server's pointer acceleration. Each speed has a fixed
//   numerator/denominator pair (pointerSpeedFraction) given to XChangePointerControl; the
//   threshold is left as the user set it. Reading maps the server's pair back to the speed
//   whose fraction is nearest. Mice that libinput drives get the speed as their "libinput
//   Accel Speed", and are read from it; touchpads are left alone.
// - a Wayland session of another desktop, or no display at all: nothing is changed.
// Wayland or X11 is XDG_SESSION_TYPE in any case; where it names neither (a session started
// from a console), WAYLAND_DISPLAY, then DISPLAY, tell.

#include <QProcessEnvironment>
#include <QStringList>
#include <functional>
#include <optional>

class QObject;

namespace PointerSpeed {

constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 20;
constexpr int kDefaultSpeed = 10;

// Results of writeSpeed.
enum Result {
    Done = 0,
    NoDisplay = 1,   // no X display could be opened
    OutOfRange = 2,  // the speed is not 1..20; nothing was changed
    Unsupported = 3, // the desktop takes no pointer speed from programs; nothing was changed
    Failed = 4,      // the desktop's own tool or setting could not be reached
};

// The desktop's ways of setting the pointer speed.
enum Backend {
    None = 0,
    X11 = 1,
    Gnome = 2,
    Kde = 3,
    Sway = 4,
};

struct Fraction {
    int numerator;
    int denominator;
};

// The way of the session described by env (XDG_CURRENT_DESKTOP, XDG_SESSION_TYPE,
// WAYLAND_DISPLAY, SWAYSOCK, DISPLAY).
Backend chooseBackend(const QProcessEnvironment &env);
// The way of this process's session.
Backend activeBackend();
// A short name of the active way for logs and the command line: "gnome", "kde", "sway",
// "x11" or "none".
QString backendName();

// The X acceleration pair of a speed 1..20 (the speed is clamped to that range).
Fraction pointerSpeedFraction(int speed);
// The speed 1..20 whose pair is nearest to numerator/denominator; the default speed when
// the denominator is not positive or the numerator negative.
int speedFromFraction(int numerator, int denominator);
// The libinput speed −1..1 the desktops keep for a speed 1..20 (clamped): 10 is 0, each step
// 0.1.
double libinputFromSpeed(int speed);
// The speed 1..20 nearest to a libinput speed; out-of-range values give the nearest end.
int speedFromLibinput(double value);

// The current speed of the host, or kDefaultSpeed where it cannot be read. Under sway this
// runs swaymsg and waits for it, at most 300 ms: not for the GUI thread.
int readSpeed();
// The same without waiting for another program: the speed when it can be read at once;
// under sway, and under KDE Plasma on Wayland, nothing, and later(speed) once swaymsg or KWin
// answered (KWin failing to within 5 s, the file's speed; swaymsg failing, never), on the
// caller's thread while context lives. On a desktop none serves, nothing and never.
std::optional<int> readSpeedNowOrLater(QObject *context, const std::function<void(int)> &later);
// Sets the host's speed; a speed outside 1..20 changes nothing. Never waits for another
// program.
Result writeSpeed(int speed);
// Waits until the desktop has taken the last writes (GSettings' flush) and answered them
// (KWin's calls, running the event loop meanwhile), at most timeoutMs for the answers: for a
// program that ends right after writing, such as the command line, or at the window's end.
// Never while the window is in use.
void settle(int timeoutMs);

} // namespace PointerSpeed
