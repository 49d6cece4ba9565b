// SPDX-License-Identifier: GPL-3.0-or-later
// Key capture: keys typed into our windows arrive once each, as set-1 scan codes with the
// extended, Alt-held and released flags, with key repeat told apart, and still reach the
// widget they were typed into. Run again on an X server and on a Wayland compositor, where
// real keys come from the windowing system.
#include "KeyCapture.h"
#include "KeyTable.h"

#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {
// Sends a key event the way the windowing system does: to the window, carrying the X11
// keycode (evdev + 8).
void sendKey(QWidget &top, QEvent::Type type, int evdev, bool autoRepeat = false,
             Qt::Key key = Qt::Key_unknown, const QString &text = QString(), ulong stamp = 0) {
    QKeyEvent event(type, key, Qt::NoModifier, quint32(evdev + 8), 0, 0, text, autoRepeat);
    event.setTimestamp(stamp);
    QCoreApplication::sendEvent(top.windowHandle(), &event);
}

struct Seen {
    int scanCode;
    int flags;
    bool repeat;
    qint64 timeMs;
};

QVector<Seen> seen(const QSignalSpy &spy) {
    QVector<Seen> out;
    for (const QList<QVariant> &args : spy)
        out.append({args[0].toInt(), args[1].toInt(), args[2].toBool(), args[3].toLongLong()});
    return out;
}

// A key event as X delivers it, with its server timestamp and unmarked.
void stamped(QWidget &top, QEvent::Type type, int evdev, ulong stamp) {
    sendKey(top, type, evdev, false, Qt::Key_unknown, QString(), stamp);
}

// Types on the X display: "key 38", "keydown 39" (X keycodes, evdev + 8).
bool xdotool(const QString &action, int keycode) {
    return QProcess::execute(QStringLiteral("xdotool"), {action, QString::number(keycode)}) == 0;
}
} // namespace

class TestKeyCapture : public QObject {
    Q_OBJECT

    QWidget m_top;
    QLineEdit *m_edit = nullptr;

private slots:
    void initTestCase() {
        auto *layout = new QVBoxLayout(&m_top);
        m_edit = new QLineEdit;
        layout->addWidget(m_edit);
        m_top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_top));
        m_edit->setFocus();
    }

    void init() { m_edit->clear(); }

    void extendedKeysAndPlainTwins() {
        int scan = 0;
        bool ext = false;
        QVERIFY(KeyCapture::evdevToSet1(30, scan, ext)); // A
        QCOMPARE(scan, 30);
        QVERIFY(!ext);
        QVERIFY(KeyCapture::evdevToSet1(119, scan, ext)); // Pause is plain 69
        QCOMPARE(scan, 69);
        QVERIFY(!ext);
        QVERIFY(KeyCapture::evdevToSet1(69, scan, ext)); // Num Lock is extended 69
        QVERIFY(ext);
        QVERIFY(KeyCapture::evdevToSet1(99, scan, ext)); // Print Screen
        QCOMPARE(scan, 55);
        QVERIFY(ext);
        QVERIFY(!KeyCapture::evdevToSet1(113, scan, ext)); // mute has no key code
        QVERIFY(!KeyCapture::evdevToSet1(0, scan, ext));

        // Through the event path into the key code space.
        KeyCapture capture;
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        sendKey(m_top, QEvent::KeyPress, 96); // keypad Enter
        sendKey(m_top, QEvent::KeyRelease, 96);
        sendKey(m_top, QEvent::KeyPress, 72);  // keypad 8 (plain 72)
        sendKey(m_top, QEvent::KeyPress, 103); // Up (extended 72)
        sendKey(m_top, QEvent::KeyPress, 113); // mute: not seen
        const QVector<Seen> s = seen(spy);
        QCOMPARE(s.size(), 4);
        QCOMPARE(keyCodeFromEvent(s[0].scanCode, unsigned(s[0].flags)), 229);
        QCOMPARE(s[1].flags, int(KeyFlagExtended | KeyFlagReleased));
        QCOMPARE(keyCodeFromEvent(s[2].scanCode, unsigned(s[2].flags)), 236);
        QCOMPARE(keyCodeFromEvent(s[3].scanCode, unsigned(s[3].flags)), 72);
    }

    // An event handed on from the window to the focus widget and its parents is one key.
    // The widget still gets the key: typing is not blocked.
    void eachKeyOnceAndNotSwallowed() {
        KeyCapture capture;
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        sendKey(m_top, QEvent::KeyPress, 30, false, Qt::Key_A, QStringLiteral("a"));
        sendKey(m_top, QEvent::KeyRelease, 30, false, Qt::Key_A, QStringLiteral("a"));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(m_edit->text(), QStringLiteral("a"));
    }

    // Alt held marks every key until it is released, the Alt key's own press included.
    void altHeldFlagsKeysBetweenPressAndRelease() {
        KeyCapture capture;
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        sendKey(m_top, QEvent::KeyPress, 100); // right Alt
        sendKey(m_top, QEvent::KeyPress, 30);
        sendKey(m_top, QEvent::KeyRelease, 30);
        sendKey(m_top, QEvent::KeyRelease, 100);
        sendKey(m_top, QEvent::KeyPress, 30);
        const QVector<Seen> s = seen(spy);
        QCOMPARE(s.size(), 5);
        QCOMPARE(s[0].flags, int(KeyFlagExtended | KeyFlagAltDown));
        QCOMPARE(keyCodeFromEvent(s[0].scanCode, unsigned(s[0].flags)), 239);
        QCOMPARE(s[1].flags, int(KeyFlagAltDown));
        QCOMPARE(s[2].flags, int(KeyFlagAltDown | KeyFlagReleased));
        QCOMPARE(s[3].flags, int(KeyFlagExtended | KeyFlagReleased));
        QCOMPARE(s[4].flags, 0);
    }

    // A held key: X repeats it as release-press pairs marked auto-repeat; the capture
    // gives presses marked as repeat and one release at the end, as a keyboard hook does.
    void heldKeyRepeatsAsPresses() {
        KeyCapture capture;
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        sendKey(m_top, QEvent::KeyPress, 31);
        sendKey(m_top, QEvent::KeyRelease, 31, true);
        sendKey(m_top, QEvent::KeyPress, 31, true);
        sendKey(m_top, QEvent::KeyPress, 31); // a platform that repeats without marking
        sendKey(m_top, QEvent::KeyRelease, 31);
        const QVector<Seen> s = seen(spy);
        QCOMPARE(s.size(), 4);
        QVERIFY(!s[0].repeat);
        QVERIFY(s[1].repeat);
        QVERIFY(s[2].repeat);
        QCOMPARE(s[3].flags, int(KeyFlagReleased));
        QVERIFY(!s[3].repeat);
    }

    // Under load Qt cannot mark X's repeat pairs: a release and a press of the key with the
    // same timestamp. The release waits for the next event; a real release goes on with
    // its own time, before the next key or once the wait is over.
    void repeatPairsToldByTheirTimestamp() {
        KeyCapture capture;
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        stamped(m_top, QEvent::KeyPress, 48, 1000); // B held
        stamped(m_top, QEvent::KeyRelease, 48, 1660);
        stamped(m_top, QEvent::KeyPress, 48, 1660);
        stamped(m_top, QEvent::KeyRelease, 48, 1700);
        stamped(m_top, QEvent::KeyPress, 48, 1700);
        stamped(m_top, QEvent::KeyRelease, 48, 2100); // let go
        stamped(m_top, QEvent::KeyPress, 30, 2100);   // A at the same moment: not a repeat
        stamped(m_top, QEvent::KeyRelease, 30, 2150);
        QCOMPARE(spy.count(), 5); // A's release still waits
        QTRY_COMPARE(spy.count(), 6);
        const QVector<Seen> s = seen(spy);
        QVERIFY(!s[0].repeat && s[1].repeat && s[2].repeat);
        QCOMPARE(s[3].flags, int(KeyFlagReleased));
        QCOMPARE(s[3].scanCode, 48);
        QCOMPARE(s[3].timeMs, 2100);
        QCOMPARE(s[4].scanCode, 30);
        QVERIFY(!s[4].repeat);
        QCOMPARE(s[5].timeMs, 2150);
        // A release that waits is handed on by flush.
        stamped(m_top, QEvent::KeyPress, 30, 3000);
        stamped(m_top, QEvent::KeyRelease, 30, 3100);
        capture.flush();
        QCOMPARE(spy.count(), 8);
    }

    // Keys from the windowing system: an X server, or a Wayland compositor that reads the X
    // server's keyboard. A typed key, a held one that repeats (X repeats as release-press
    // pairs, Qt makes Wayland's repeats itself) and an extended key each come with their scan
    // code; the held key gives one press, repeats, and one release at its real time.
    void keysFromTheWindowSystem() {
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland"))
            QSKIP("runs on an X server or a Wayland compositor");
        if (platform == QLatin1String("xcb"))
            m_top.activateWindow(); // a Wayland compositor activates a new window itself
        QTRY_COMPARE(QGuiApplication::focusWindow(), m_top.windowHandle());

        KeyCapture capture;
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        const auto repeats = [&spy] {
            return std::count_if(spy.begin(), spy.end(),
                                 [](const auto &e) { return e[2].toBool(); });
        };
        QVERIFY(xdotool(QStringLiteral("key"), 38));     // A
        QVERIFY(xdotool(QStringLiteral("keydown"), 39)); // S, held
        QTRY_VERIFY_WITH_TIMEOUT(repeats() >= 2, 5000);
        QVERIFY(xdotool(QStringLiteral("keyup"), 39));
        QVERIFY(xdotool(QStringLiteral("key"), 105)); // right Ctrl
        QTRY_VERIFY(spy.size() > 2 && spy.last()[0].toInt() == 29 &&
                    (spy.last()[1].toInt() & KeyFlagReleased));

        const auto key = [](int scanCode, int flags) {
            return QString("%1/%2").arg(scanCode).arg(flags);
        };
        QStringList keys;
        QVector<qint64> times;
        for (const Seen &s : seen(spy)) {
            if (s.repeat) {
                QVERIFY(s.scanCode == 31 && s.flags == 0 && keys.size() == 3);
            } else {
                keys << key(s.scanCode, s.flags);
                times << s.timeMs;
            }
        }
        const int up = KeyFlagReleased, ext = KeyFlagExtended;
        QCOMPARE(keys, QStringList({key(30, 0), key(30, up), key(31, 0), key(31, up), key(29, ext),
                                    key(29, ext | up)}));
        // S was held past its first repeat (X: 660 ms, weston: 400 ms).
        QVERIFY2(times[3] - times[2] >= 300, qPrintable(QString::number(times[3] - times[2])));
    }

    void listensOnlyWhileItLives() {
        QSignalSpy *spy = nullptr;
        {
            auto *capture = new KeyCapture;
            spy = new QSignalSpy(capture, &KeyCapture::keyEvent);
            delete capture;
        }
        sendKey(m_top, QEvent::KeyPress, 30);
        QCOMPARE(spy->count(), 0);
        delete spy;
    }
    // Listening to one window: a box that comes up over it keeps its keys, but a key pressed in
    // the window and let go over the box is let go. When another program takes the keyboard,
    // the keys down are let go at once, and pressed again later they are presses, not repeats.
    void oneWindowAndTheKeyboardLost() {
        QWidget box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        KeyCapture capture;
        capture.listenTo(m_top.windowHandle());
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        sendKey(m_top, QEvent::KeyPress, 30, false, Qt::Key_A, QString(), 1000);
        sendKey(box, QEvent::KeyPress, 28);
        sendKey(box, QEvent::KeyRelease, 28);
        sendKey(box, QEvent::KeyRelease, 30);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(seen(spy)[1].flags, int(KeyFlagReleased));
        sendKey(m_top, QEvent::KeyPress, 56, false, Qt::Key_Alt, QString(), 2000);
        emit static_cast<QGuiApplication *>(QCoreApplication::instance())
            ->applicationStateChanged(Qt::ApplicationInactive);
        sendKey(m_top, QEvent::KeyPress, 56, false, Qt::Key_Alt, QString(), 9000);
        const QVector<Seen> s = seen(spy);
        QCOMPARE(s.size(), 5);
        QCOMPARE(s[3].scanCode, 56);
        QCOMPARE(s[3].flags, int(KeyFlagReleased));
        QVERIFY(s[3].timeMs >= 2000 && s[3].timeMs < 9000); // on the events' own clock
        QVERIFY(!s[4].repeat);
        QCOMPARE(s[4].flags, int(KeyFlagAltDown));
    }

    // A field that takes one key at a time: the first key is taken whatever it is and kept from
    // the window; after it Tab, Shift+Tab and Escape are the window's, other keys (Shift alone
    // too) are taken, and once armed again the next key is taken whatever it is.
    void takesOneKeyAtATime() {
        struct Reached : QObject {
            QList<int> keys;
            bool eventFilter(QObject *, QEvent *e) override {
                if (e->type() == QEvent::KeyPress)
                    keys << static_cast<QKeyEvent *>(e)->key();
                return false;
            }
        } reached;
        m_edit->installEventFilter(&reached);
        KeyCapture capture;
        capture.setTakesKeys(true);
        QSignalSpy spy(&capture, &KeyCapture::keyEvent);
        auto click = [this](int evdev, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, key, modifiers, quint32(evdev + 8), 0, 0, QString());
                QCoreApplication::sendEvent(m_top.windowHandle(), &event);
            }
        };
        auto shiftTab = [this] {
            const struct {
                QEvent::Type type;
                int evdev;
                Qt::Key key;
            } steps[] = {{QEvent::KeyPress, 42, Qt::Key_Shift},
                         {QEvent::KeyPress, 15, Qt::Key_Backtab},
                         {QEvent::KeyRelease, 15, Qt::Key_Backtab},
                         {QEvent::KeyRelease, 42, Qt::Key_Shift}};
            for (const auto &s : steps) {
                QKeyEvent event(s.type, s.key, Qt::ShiftModifier, quint32(s.evdev + 8), 0, 0,
                                QString());
                QCoreApplication::sendEvent(m_top.windowHandle(), &event);
            }
        };

        click(15, Qt::Key_Tab); // armed: Tab is the key
        QCOMPARE(spy.count(), 2);
        QVERIFY(reached.keys.isEmpty());
        QVERIFY(!capture.isArmed());
        click(15, Qt::Key_Tab);
        click(1, Qt::Key_Escape);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(reached.keys, (QList<int>{Qt::Key_Tab, Qt::Key_Escape}));
        click(30, Qt::Key_A);
        QCOMPARE(spy.count(), 4);
        shiftTab();
        QCOMPARE(spy.count(), 4);
        QCOMPARE(reached.keys.last(), int(Qt::Key_Backtab));
        click(42, Qt::Key_Shift); // Shift alone is a key
        QCOMPARE(spy.count(), 6);
        QCOMPARE(seen(spy)[4].scanCode, 42);
        QCOMPARE(seen(spy)[5].flags, int(KeyFlagReleased));
        capture.setArmed(true);
        click(28, Qt::Key_Return);
        QCOMPARE(spy.count(), 8);
        QCOMPARE(seen(spy)[6].scanCode, 28);
        // Tab, Escape, Shift+Tab and the lone Shift, which waited to see if Tab came
        QCOMPARE(reached.keys.size(), 5);
        m_edit->removeEventFilter(&reached);
    }
};

QTEST_MAIN(TestKeyCapture)
#include "tst_keycapture.moc"
