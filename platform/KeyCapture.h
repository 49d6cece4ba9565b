// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys typed into the program's own windows, as a low-level keyboard event gives them: the
// set-1 scan code with the flag bits of storage's KeyEventFlag (extended key, an Alt key
// held, key released). The macro recorder and the key capture dialogs create one while
// they listen and delete it when they stop. Keys are not swallowed (every window still gets
// its key events) unless the capture is told to take them (setTakesKeys).

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>

class QKeyEvent;
class QWindow;

class KeyCapture : public QObject {
    Q_OBJECT

public:
    // Starts listening to every key event of the application.
    explicit KeyCapture(QObject *parent = nullptr);
    ~KeyCapture() override;

    // The set-1 scan code of a Linux evdev key code and whether it is an extended key;
    // false for keys that have no code in the mouse's key space (media keys, for example).
    static bool evdevToSet1(int evdev, int &scanCode, bool &extended);
    // The evdev code a key event carries (X11 and Wayland send evdev + 8), or -1.
    static int evdevOf(const QKeyEvent &event);

    // How long a release is held back waiting for the press that would make it a repeat.
    static constexpr int kReleaseHoldMs = 250;

    // Hands on a release held back now (a recording that stops takes its last key).
    void flush();

    // For a field that takes one key, or one combination, at a time. While on, the keys this
    // capture hands on are kept from the windows. Once every key it took is up, a plain Tab,
    // Shift+Tab, Return, Enter or Escape is left to the window (to move on, accept or cancel)
    // until it is armed again; any other key is taken at once. A release of a key it did not
    // take is left alone. A new capture is armed.
    void setTakesKeys(bool on);
    // Armed, the next key is taken whatever it is.
    void setArmed(bool on) { m_armed = on; }
    bool isArmed() const { return m_armed; }
    // Keys are heard only while condition() holds (the field has the focus, say); at other
    // times they pass untouched. Without a condition every key is heard.
    void listenWhile(std::function<bool()> condition) { m_listenWhile = std::move(condition); }
    // Only the keys typed into this window are heard (a box that comes up over it takes its
    // own keys); the release of a key heard down is heard wherever it goes.
    void listenTo(QWindow *window);

signals:
    // One key event at timeMs (the windowing system's time of the event, in ms; the events of
    // one capture share one clock). A key held down repeats as further presses with repeat
    // set and no release in between, as on a keyboard hook; the release comes once, at the
    // end.
    void keyEvent(quint8 scanCode, quint8 flags, bool repeat, qint64 timeMs);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Key {
        int evdev = -1;
        int scanCode = 0;
        bool extended = false;
        bool press = false;
        qint64 timeMs = 0;
        ulong stamp = 0; // the windowing system's timestamp, 0 when the event has none
    };
    void handle(const Key &key, bool repeat);
    // The program lost the keyboard (another program took the focus): the keys heard down
    // are let go now, as their releases will go elsewhere.
    void releaseAll();
    // Extended, released, and an Alt key down.
    unsigned flagsFor(const Key &key) const;
    // Whether a key event this capture understands is left to the windows untouched.
    bool leavesAlone(const Key &key, const QKeyEvent &event) const;

    QSet<int> m_held; // evdev codes of the keys down
    // X repeats a held key as a release and a press with the same timestamp; Qt marks them
    // only when the press is already queued, which under load it often is not. A release
    // with a timestamp waits here for the next event, or for kReleaseHoldMs.
    Key m_release;
    bool m_releaseHeld = false;
    QTimer m_releaseTimer;
    QElapsedTimer m_clock; // for events without a timestamp
    bool m_takesKeys = false;
    bool m_armed = true;
    // A Shift pressed while nothing is taken waits for the next key: Shift+Tab is left alone.
    enum ShiftState { ShiftNone, ShiftWaits, ShiftMovedOn };
    ShiftState m_shift = ShiftNone;
    Key m_shiftKey;
    std::function<bool()> m_listenWhile;
    QPointer<QWindow> m_window;
    // The time of the last event heard, and the clock since, for releases of our own.
    qint64 m_lastTimeMs = 0;
    QElapsedTimer m_sinceLast;
};
