// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyCapture.h"

#include "KeyTable.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

namespace {
constexpr int kEvdevOffset = 8; // X11 and Wayland keycodes are evdev codes plus 8
constexpr int kEvdevLeftAlt = 56;
constexpr int kEvdevRightAlt = 100;
// The keys a window moves on, accepts and cancels with.
constexpr int kEvdevEscape = 1;
constexpr int kEvdevTab = 15;
constexpr int kEvdevReturn = 28;
constexpr int kEvdevKeypadEnter = 96;
constexpr int kEvdevLeftShift = 42;
constexpr int kEvdevRightShift = 54;

bool isShift(int evdev) {
    return evdev == kEvdevLeftShift || evdev == kEvdevRightShift;
}

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
    m_clock.start();
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(kReleaseHoldMs);
    connect(&m_releaseTimer, &QTimer::timeout, this, &KeyCapture::flush);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive)
                        releaseAll();
                });
    }
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
    const auto *qtKey = static_cast<QKeyEvent *>(event);
    Key key;
    key.evdev = evdevOf(*qtKey);
    if (!evdevToSet1(key.evdev, key.scanCode, key.extended))
        return false;
    key.press = type == QEvent::KeyPress;
    key.stamp = qtKey->timestamp();
    key.timeMs = key.stamp != 0 ? qint64(key.stamp) : m_clock.elapsed();
    const bool heldRelease = !key.press && m_held.contains(key.evdev);
    const bool otherWindow = m_window && watched != m_window;
    if (!heldRelease && (otherWindow || (m_listenWhile && !m_listenWhile()))) {
        m_shift = ShiftNone;
        return false;
    }
    m_lastTimeMs = key.timeMs;
    m_sinceLast.start();
    if (m_releaseHeld) {
        // The press that follows a held-back release of its key at the same moment is the
        // key's repeat: neither goes on.
        if (key.press && key.evdev == m_release.evdev && key.stamp == m_release.stamp) {
            m_releaseHeld = false;
            m_releaseTimer.stop();
            emit keyEvent(quint8(key.scanCode), quint8(flagsFor(key)), true, key.timeMs);
            return m_takesKeys;
        }
        flush();
    }
    if (m_shift != ShiftNone) {
        // A Shift that came while nothing was taken: Shift+Tab is the window's, anything else
        // (Shift alone too) is taken from the Shift on.
        if (key.evdev == kEvdevTab || (!key.press && key.evdev != m_shiftKey.evdev)) {
            if (key.press)
                m_shift = ShiftMovedOn;
            return false;
        }
        const bool movedOn = m_shift == ShiftMovedOn;
        m_shift = ShiftNone;
        if (!key.press && key.evdev == m_shiftKey.evdev) {
            if (movedOn)
                return false;
            handle(m_shiftKey, false);
            handle(key, false);
            return true;
        }
        if (!movedOn)
            handle(m_shiftKey, false);
    } else if (m_takesKeys && !m_armed && m_held.isEmpty() && key.press && isShift(key.evdev)) {
        m_shiftKey = key;
        m_shift = ShiftWaits;
        return false;
    }
    if (leavesAlone(key, *qtKey))
        return false;
    if (key.press) {
        // A held key repeats as press after press, marked or not.
        handle(key, qtKey->isAutoRepeat() || m_held.contains(key.evdev));
    } else if (qtKey->isAutoRepeat()) {
        // the release half of a repeat Qt recognised
    } else if (key.stamp != 0 && m_held.contains(key.evdev)) {
        m_release = key;
        m_releaseHeld = true;
        m_releaseTimer.start();
    } else {
        handle(key, false);
    }
    return m_takesKeys;
}

bool KeyCapture::leavesAlone(const Key &key, const QKeyEvent &event) const {
    if (!m_takesKeys)
        return false;
    const bool down = m_held.contains(key.evdev);
    if (!key.press)
        return !down;
    if (m_armed || !m_held.isEmpty())
        return false;
    const Qt::KeyboardModifiers extra =
        event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const bool windowKey = key.evdev == kEvdevEscape || key.evdev == kEvdevTab ||
                           key.evdev == kEvdevReturn || key.evdev == kEvdevKeypadEnter;
    return windowKey && extra == Qt::NoModifier;
}

void KeyCapture::setTakesKeys(bool on) {
    m_takesKeys = on;
    m_armed = true;
}

void KeyCapture::flush() {
    m_releaseTimer.stop();
    if (!m_releaseHeld)
        return;
    m_releaseHeld = false;
    handle(m_release, false);
}

void KeyCapture::listenTo(QWindow *window) {
    m_window = window;
}

void KeyCapture::releaseAll() {
    flush();
    m_shift = ShiftNone;
    const qint64 now = m_lastTimeMs + (m_sinceLast.isValid() ? m_sinceLast.elapsed() : 0);
    const QSet<int> held = m_held;
    for (int evdev : held) {
        Key key;
        key.evdev = evdev;
        evdevToSet1(evdev, key.scanCode, key.extended);
        key.timeMs = now;
        handle(key, false);
    }
}

unsigned KeyCapture::flagsFor(const Key &key) const {
    unsigned flags = key.extended ? unsigned(KeyFlagExtended) : 0u;
    if (!key.press)
        flags |= KeyFlagReleased;
    if (m_held.contains(kEvdevLeftAlt) || m_held.contains(kEvdevRightAlt))
        flags |= KeyFlagAltDown;
    return flags;
}

void KeyCapture::handle(const Key &key, bool repeat) {
    if (key.press) {
        m_held.insert(key.evdev);
    } else {
        m_held.remove(key.evdev);
        if (m_takesKeys && m_held.isEmpty())
            m_armed = false; // a key or a combination has been taken
    }
    emit keyEvent(quint8(key.scanCode), quint8(flagsFor(key)), repeat, key.timeMs);
}
