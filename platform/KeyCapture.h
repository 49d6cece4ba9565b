#pragma once
// Keys typed into the program's own windows, as a low-level keyboard event gives them: the
// set-1 scan code with the flag bits of storage's KeyEventFlag (extended key, an Alt key
// held, key released). The macro recorder and the key capture dialogs create one while
// they listen and delete it when they stop. Keys are never swallowed: every window still
// gets its key events.

#include <QObject>
#include <QSet>

class QKeyEvent;

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

signals:
    // One key event. A key held down repeats as further presses with repeat set and no
    // release in between, as on a keyboard hook; the release comes once, at the end.
    void keyEvent(quint8 scanCode, quint8 flags, bool repeat);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSet<int> m_held; // evdev codes of the keys down
};
