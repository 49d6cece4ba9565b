#include "KeyCapture.h"

#include "KeyTable.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {
constexpr int kEvdevOffset = 8; // X11 and Wayland keycodes are evdev codes plus 8
constexpr int kEvdevLeftAlt = 56;
constexpr int kEvdevRightAlt = 100;

struct ExtendedKey {
    int evdev;
    int scanCode;
    bool extended;
};

// Keys whose evdev code differs from their set-1 scan code. Evdev codes 1..88 are the
// set-1 make codes themselves, except Num Lock, which the hook reports as extended 69
// (Pause is plain 69).
const ExtendedKey kExtendedKeys[] = {
    {69, 69, true},   // Num Lock
    {96, 28, true},   // keypad Enter
    {97, 29, true},   // right Ctrl
    {98, 53, true},   // keypad /
    {99, 55, true},   // Print Screen
    {100, 56, true},  // right Alt
    {102, 71, true},  // Home
    {103, 72, true},  // Up
    {104, 73, true},  // Page Up
    {105, 75, true},  // Left
    {106, 77, true},  // Right
    {107, 79, true},  // End
    {108, 80, true},  // Down
    {109, 81, true},  // Page Down
    {110, 82, true},  // Insert
    {111, 83, true},  // Delete
    {119, 69, false}, // Pause
    {125, 91, true},  // left Windows key
    {126, 92, true},  // right Windows key
    {127, 93, true},  // Menu
};
} // namespace

KeyCapture::KeyCapture(QObject *parent) : QObject(parent) {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

KeyCapture::~KeyCapture() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyCapture::evdevToSet1(int evdev, int &scanCode, bool &extended) {
    for (const ExtendedKey &k : kExtendedKeys) {
        if (k.evdev == evdev) {
            scanCode = k.scanCode;
            extended = k.extended;
            return true;
        }
    }
    if (evdev >= 1 && evdev <= 88) {
        scanCode = evdev;
        extended = false;
        return true;
    }
    return false;
}

int KeyCapture::evdevOf(const QKeyEvent &event) {
    const int native = int(event.nativeScanCode());
    return native > kEvdevOffset ? native - kEvdevOffset : -1;
}

bool KeyCapture::eventFilter(QObject *watched, QEvent *event) {
    // A key event reaches the window first and is then handed on to the focus widget and
    // its parents as the same event: it is taken once, at the window.
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWindowType())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const int evdev = evdevOf(*key);
    int scanCode = 0;
    bool extended = false;
    if (!evdevToSet1(evdev, scanCode, extended))
        return false;

    const bool press = type == QEvent::KeyPress;
    bool repeat = false;
    if (press) {
        // A held key repeats as press after press; X sends release-press pairs marked as
        // auto-repeat, whose releases are dropped.
        repeat = key->isAutoRepeat() || m_held.contains(evdev);
        m_held.insert(evdev);
    } else {
        if (key->isAutoRepeat())
            return false;
        m_held.remove(evdev);
    }
    unsigned flags = extended ? unsigned(KeyFlagExtended) : 0u;
    if (!press)
        flags |= KeyFlagReleased;
    if (m_held.contains(kEvdevLeftAlt) || m_held.contains(kEvdevRightAlt))
        flags |= KeyFlagAltDown;
    emit keyEvent(quint8(scanCode), quint8(flags), repeat);
    return false;
}
