// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer speed of an X11 session: the server's pointer acceleration, and the speed of
// each mouse that libinput drives (most X servers today), which keeps its own speed as a
// device property and takes nothing from the server's acceleration. Touchpads keep theirs, as
// the desktops' own mouse settings leave them.
#include "PointerSpeedBackends.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

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

// An X connection for one call; closed again when the call ends. While it is open an X
// error (a pointer unplugged between two requests) is ignored instead of ending the program,
// as Xlib's own handler would.
class DisplayConnection {
public:
    DisplayConnection() : m_display(openDisplay()) {
        if (m_display)
            m_previous = XSetErrorHandler(ignoreError);
    }
    ~DisplayConnection() {
        if (!m_display)
            return;
        XSync(m_display, False); // the errors of our requests come in while ours is the handler
        XSetErrorHandler(m_previous);
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
    static int ignoreError(Display *, XErrorEvent *) { return 0; }
    Display *m_display;
    XErrorHandler m_previous = nullptr;
};

// The speed −1..1 of a pointer libinput drives, as the desktops' own mouse settings set it:
// a 32-bit float.
const char kLibinputSpeed[] = "libinput Accel Speed";
// A property libinput gives touchpads only: their speed is the touchpad settings', not the
// mouse's.
const char kLibinputTapping[] = "libinput Tapping Enabled";

struct LibinputPointer {
    int device;
    float speed;
};

Atom floatType(Display *display) {
    return XInternAtom(display, "FLOAT", False);
}

// The device has the property (none: no device has it).
bool hasProperty(Display *display, int device, Atom property) {
    if (property == None)
        return false;
    Atom actual = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    const bool found = XIGetProperty(display, device, property, 0, 0, False, AnyPropertyType,
                                     &actual, &format, &items, &after, &data) == Success &&
                       actual != None;
    if (data)
        XFree(data);
    return found;
}

// The mice of the display that keep a libinput speed, with it, touchpads left out; none where
// the server has no XInput 2 or no such pointer.
std::vector<LibinputPointer> libinputPointers(Display *display) {
    std::vector<LibinputPointer> found;
    int opcode = 0, event = 0, error = 0;
    int major = 2, minor = 0;
    const Atom property = XInternAtom(display, kLibinputSpeed, True);
    if (property == None || !XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success)
        return found;
    const Atom type = floatType(display);
    const Atom tapping = XInternAtom(display, kLibinputTapping, True);
    int count = 0;
    XIDeviceInfo *devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        if (devices[i].use != XISlavePointer || hasProperty(display, devices[i].deviceid, tapping))
            continue;
        Atom actual = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        if (XIGetProperty(display, devices[i].deviceid, property, 0, 1, False, type, &actual,
                          &format, &items, &after, &data) == Success &&
            actual == type && format == 32 && items == 1) {
            float speed = 0;
            std::memcpy(&speed, data, sizeof speed);
            found.push_back({devices[i].deviceid, speed});
        }
        if (data)
            XFree(data);
    }
    XIFreeDeviceInfo(devices);
    return found;
}

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
    // A pointer libinput drives moves at its own speed, whatever the server's acceleration.
    const std::vector<LibinputPointer> pointers = libinputPointers(display.get());
    if (!pointers.empty())
        return speedFromLibinput(double(pointers.front().speed));
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
    // Format 32 is handed over as 32-bit items.
    const float value = float(libinputFromSpeed(speed));
    std::int32_t item = 0;
    std::memcpy(&item, &value, sizeof item);
    const std::vector<LibinputPointer> pointers = libinputPointers(display.get());
    if (!pointers.empty()) {
        const Atom property = XInternAtom(display.get(), kLibinputSpeed, False);
        const Atom type = floatType(display.get());
        for (const LibinputPointer &pointer : pointers)
            XIChangeProperty(display.get(), pointer.device, property, type, 32, PropModeReplace,
                             reinterpret_cast<unsigned char *>(&item), 1);
    }
    XSync(display.get(), False);
    return Done;
}

} // namespace PointerSpeed
