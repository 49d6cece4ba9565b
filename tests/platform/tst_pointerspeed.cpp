// SPDX-License-Identifier: GPL-3.0-or-later
// The host pointer speed: the 1..20 scale against X pointer acceleration and libinput's speed,
// the desktop each session gets, KDE's kcminputrc and KWin on a session bus of the test's own
// (the ctest variant under dbus-run-session), sway's command line.

#include "PointerSpeed.h"
#include "PointerSpeedBackends.h"

#include <QDBusConnection>
#include <QTemporaryDir>
#include <QtTest>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#undef Bool // Xlib's; Qt's meta-object code names QMetaType::Bool

using namespace PointerSpeed;

namespace {

// Unsets DISPLAY for its lifetime.
class WithoutDisplay {
public:
    WithoutDisplay() : m_saved(qgetenv("DISPLAY")) { qunsetenv("DISPLAY"); }
    ~WithoutDisplay() {
        if (!m_saved.isEmpty())
            qputenv("DISPLAY", m_saved);
    }

private:
    QByteArray m_saved;
};

bool haveDisplay() {
    return !qgetenv("DISPLAY").isEmpty();
}

// Gives a pointer of the X server what libinput gives its devices (Xvfb has no libinput): a
// speed, and for a touchpad its tapping.
void makeLibinputPointer(Display *display, int device, float speed, bool touchpad) {
    XIChangeProperty(display, device, XInternAtom(display, "libinput Accel Speed", False),
                     XInternAtom(display, "FLOAT", False), 32, PropModeReplace,
                     reinterpret_cast<unsigned char *>(&speed), 1);
    unsigned char tapping = 1;
    if (touchpad)
        XIChangeProperty(display, device, XInternAtom(display, "libinput Tapping Enabled", False),
                         XInternAtom(display, "INTEGER", False), 8, PropModeReplace, &tapping, 1);
    XSync(display, False);
}

// One of KWin's input devices as its session-bus object shows it.
class FakeKwinDevice : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDevice")
    Q_PROPERTY(bool pointer MEMBER pointer)
    Q_PROPERTY(bool touchpad MEMBER touchpad)
    Q_PROPERTY(bool supportsPointerAcceleration MEMBER pointer)
    Q_PROPERTY(double pointerAcceleration MEMBER acceleration)
public:
    bool pointer = true;
    bool touchpad = false;
    double acceleration = 0.0;
};

class FakeKwinManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDeviceManager")
    Q_PROPERTY(QStringList devicesSysNames MEMBER names)
public:
    QStringList names{QStringLiteral("event4"), QStringLiteral("event5"), QStringLiteral("event6")};
};

} // namespace

class TestPointerSpeed : public QObject {
    Q_OBJECT

private slots:
    // Every step of the scale goes out and reads back as itself, rising with the speed; 10 is
    // each desktop's default. The X server may keep the pair unreduced; the desktops keep the
    // libinput value as text.
    void scaleRoundTrip_data() {
        QTest::addColumn<bool>("x11");
        QTest::newRow("X server pair") << true;
        QTest::newRow("libinput value") << false;
    }
    void scaleRoundTrip() {
        QFETCH(bool, x11);
        double last = x11 ? 0.0 : -1.0;
        for (int s = kMinSpeed; s <= kMaxSpeed; ++s) {
            const Fraction f = pointerSpeedFraction(s);
            const double out = x11 ? double(f.numerator) / f.denominator : libinputFromSpeed(s);
            QVERIFY2(out > last, qPrintable(QString::number(s)));
            last = out;
            QCOMPARE(x11 ? speedFromFraction(f.numerator, f.denominator) : speedFromLibinput(out),
                     s);
            QCOMPARE(x11 ? speedFromFraction(3 * f.numerator, 3 * f.denominator)
                         : speedFromLibinput(libinputText(out).toDouble()),
                     s);
        }
        const Fraction d = pointerSpeedFraction(kDefaultSpeed);
        QCOMPARE(x11 ? double(d.numerator) / d.denominator : libinputFromSpeed(kDefaultSpeed),
                 x11 ? 1.0 : 0.0);
        QVERIFY(x11 || last <= 1.0);
    }

    void serverPairs_data() {
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::addColumn<int>("speed");
        QTest::newRow("X default 2/1") << 2 << 1 << 14;
        QTest::newRow("no acceleration") << 1 << 1 << 10;
        QTest::newRow("stopped") << 0 << 1 << 1;
        QTest::newRow("very fast") << 1000 << 1 << 20;
        QTest::newRow("between 10 and 11") << 9 << 8 << 10; // halfway to 5/4: the lower speed
        QTest::newRow("near 11") << 6 << 5 << 11;
        QTest::newRow("zero denominator") << 2 << 0 << 10;
        QTest::newRow("negative") << -1 << 4 << 10;
        QTest::newRow("large pair") << 2000000000 << 1000000000 << 14;
    }
    void serverPairs() {
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        QFETCH(int, speed);
        QCOMPARE(speedFromFraction(numerator, denominator), speed);
    }

    void withoutDisplayNothingHappens() {
        WithoutDisplay none;
        QCOMPARE(readSpeed(), kDefaultSpeed);
        QCOMPARE(writeSpeed(5), Unsupported);
        QCOMPARE(writeSpeed(0), OutOfRange);
        QCOMPARE(writeSpeed(21), OutOfRange);
        QCOMPARE(readSpeed(), kDefaultSpeed);
    }

    void backendOfTheSession_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("session");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("backend");
        QTest::newRow("GNOME on Wayland") << "GNOME"
                                          << "wayland"
                                          << ":0" << int(Gnome);
        QTest::newRow("Ubuntu's GNOME on X11") << "ubuntu:GNOME"
                                               << "x11"
                                               << ":0" << int(Gnome);
        QTest::newRow("Plasma") << "KDE"
                                << "wayland"
                                << ":1" << int(Kde);
        QTest::newRow("sway") << "sway"
                              << "wayland"
                              << "" << int(Sway);
        QTest::newRow("Xfce") << "XFCE"
                              << "x11"
                              << ":0" << int(X11);
        QTest::newRow("bare X server") << ""
                                       << ""
                                       << ":0" << int(X11);
        QTest::newRow("another Wayland desktop") << "Hyprland"
                                                 << "wayland"
                                                 << ":0" << int(None);
        QTest::newRow("no display") << ""
                                    << "tty"
                                    << "" << int(None);
    }
    void backendOfTheSession() {
        QFETCH(QString, desktop);
        QFETCH(QString, session);
        QFETCH(QString, display);
        QFETCH(int, backend);
        QProcessEnvironment env;
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
        env.insert(QStringLiteral("XDG_SESSION_TYPE"), session);
        env.insert(QStringLiteral("DISPLAY"), display);
        QCOMPARE(int(chooseBackend(env)), backend);
    }

    // Through dconf, as a GNOME session keeps its settings: a program that ends right after
    // writing the speed leaves it written.
    void gnomeWriteOutlivesTheWriter() {
        if (!qEnvironmentVariableIsSet("MOUSECFG_EXPECT_BUS"))
            QSKIP("needs a session bus of its own");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("dconf"));
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        for (const int speed : {16, 4}) {
            QProcess writer, reader;
            writer.setProcessEnvironment(env);
            writer.start(qEnvironmentVariable("MOUSECFG_SPEEDWRITER"), {QString::number(speed)});
            QVERIFY(writer.waitForFinished(10000) && writer.exitCode() == 0);
            reader.setProcessEnvironment(env);
            reader.start(QStringLiteral("gsettings"),
                         {QStringLiteral("get"),
                          QStringLiteral("org.gnome.desktop.peripherals.mouse"),
                          QStringLiteral("speed")});
            QVERIFY(reader.waitForFinished(10000));
            QCOMPARE(speedFromLibinput(reader.readAllStandardOutput().trimmed().toDouble()), speed);
        }
    }

    // kcminputrc as Plasma reads it: the one entry changed in place, every other line kept.
    // KWin's pointers get the speed when KWin is on the session bus, touchpads and keyboards
    // do not; without a bus only the file changes.
    void kdeFileAndKwin() {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        const QString path = kcmInputPath();
        QCOMPARE(path, config.filePath(QStringLiteral("kcminputrc")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# kept\n[Libinput][1133][16505][G Pro [wired]]\nPointerAcceleration=0.200\n\n"
                   "[Mouse]\ncursorTheme=breeze\nXLbInptPointerAcceleration=-1\n\n"
                   "[Keyboard]\nNumLock=0\n");
        file.close();
        QCOMPARE(readSpeed(), kMinSpeed);

        FakeKwinManager manager;
        FakeKwinDevice mouse, touchpad, keyboard;
        touchpad.touchpad = true;
        keyboard.pointer = false;
        QDBusConnection bus = QDBusConnection::sessionBus();
        const QString at = QStringLiteral("/org/kde/KWin/InputDevice");
        const auto all = QDBusConnection::ExportAllProperties;
        const bool kwin = bus.registerService(QStringLiteral("org.kde.KWin")) &&
                          bus.registerObject(at, &manager, all) &&
                          bus.registerObject(at + QLatin1String("/event4"), &keyboard, all) &&
                          bus.registerObject(at + QLatin1String("/event5"), &mouse, all) &&
                          bus.registerObject(at + QLatin1String("/event6"), &touchpad, all);
        QVERIFY(kwin || !qEnvironmentVariableIsSet("MOUSECFG_EXPECT_BUS"));

        QCOMPARE(writeSpeed(16), Done);
        QCOMPARE(readSpeed(), 16);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("# kept\n[Libinput][1133][16505][G Pro [wired]]\n"
                            "PointerAcceleration=0.200\n\n[Mouse]\ncursorTheme=breeze\n"
                            "XLbInptPointerAcceleration=0.600\n\n[Keyboard]\nNumLock=0\n"));
        QCOMPARE(withKdeEntry(QString(), QStringLiteral("[Mouse]"), QStringLiteral("K"),
                              QStringLiteral("1")),
                 QStringLiteral("[Mouse]\nK=1\n"));
        if (kwin) {
            settle(5000); // as the command line does before it ends
            QCOMPARE(mouse.acceleration, 0.6);
            QTest::qWait(100);
            QCOMPARE(touchpad.acceleration, 0.0);
            QCOMPARE(keyboard.acceleration, 0.0);

            // On Wayland the speed reads back from KWin's mouse, as System Settings left it,
            // not from the file or another device.
            mouse.acceleration = -0.4;
            touchpad.acceleration = keyboard.acceleration = 0.9;
            qputenv("XDG_SESSION_TYPE", "Wayland"); // in any case
            int later = 0;
            QVERIFY(!readSpeedNowOrLater(&manager, [&later](int speed) { later = speed; }));
            QTRY_COMPARE(later, 6);
            qunsetenv("XDG_SESSION_TYPE");
        }
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void swayCommandAndAnswer() {
        QCOMPARE(swayArguments(4),
                 QStringList({QStringLiteral("--"), QStringLiteral("input"),
                              QStringLiteral("type:pointer"), QStringLiteral("pointer_accel"),
                              QStringLiteral("-0.600")}));
        QCOMPARE(speedFromSwayInputs(R"([
            {"type": "keyboard", "libinput": {"send_events": "enabled"}},
            {"type": "touchpad", "libinput": {"accel_speed": 0.5}},
            {"type": "pointer", "name": "Mouse", "libinput": {"accel_speed": -0.3}}])"),
                 7);
        QCOMPARE(speedFromSwayInputs("not json"), kDefaultSpeed);
    }

    void roundTripOnDisplay() {
        if (!haveDisplay()) {
            if (qEnvironmentVariableIsSet("MOUSECFG_EXPECT_DISPLAY"))
                QFAIL("DISPLAY is not set");
            QSKIP("no X display (the ctest variant under xvfb-run covers this)");
        }
        for (int s = kMinSpeed; s <= kMaxSpeed; ++s) {
            QCOMPARE(writeSpeed(s), Done);
            QCOMPARE(readSpeed(), s);
        }
        QCOMPARE(writeSpeed(7), Done);
        QCOMPARE(writeSpeed(0), OutOfRange);
        QCOMPARE(writeSpeed(-3), OutOfRange);
        QCOMPARE(writeSpeed(200), OutOfRange);
        QCOMPARE(readSpeed(), 7);

        // Pointers that libinput drives keep their speed themselves: a mouse's is written and
        // read, a touchpad's (listed first here) is left as the touchpad settings made it.
        Display *display = XOpenDisplay(nullptr);
        QVERIFY(display);
        int count = 0;
        XIDeviceInfo *devices = XIQueryDevice(display, XIAllDevices, &count);
        QVector<int> pointers;
        for (int i = 0; i < count; ++i) {
            if (devices[i].use == XISlavePointer)
                pointers.append(devices[i].deviceid);
        }
        XIFreeDeviceInfo(devices);
        QVERIFY(pointers.size() >= 2);
        makeLibinputPointer(display, pointers[0], 0.9f, true);
        makeLibinputPointer(display, pointers[1], 0.0f, false);
        QCOMPARE(writeSpeed(4), Done);
        QCOMPARE(readSpeed(), 4);
        // A mouse now, and listed first, it still has its 0.9.
        XIDeleteProperty(display, pointers[0],
                         XInternAtom(display, "libinput Tapping Enabled", False));
        XSync(display, False);
        QCOMPARE(readSpeed(), 19);

        // A session started from a console ("tty") with a display is X11's: Plasma's speed
        // reaches the server as well.
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qputenv("XDG_SESSION_TYPE", "tty");
        QCOMPARE(writeSpeed(13), Done);
        QCOMPARE(readX11Speed(), 13);
        XCloseDisplay(display);
    }
};

QTEST_GUILESS_MAIN(TestPointerSpeed)
#include "tst_pointerspeed.moc"
