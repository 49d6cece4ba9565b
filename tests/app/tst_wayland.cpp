// SPDX-License-Identifier: GPL-3.0-or-later
// On a Wayland compositor (weston-run.sh, in a session bus of its own): the window shows
// natively, and the OSD program's texts become desktop notifications, taken here by a
// stand-in for the desktop's service, instead of a plate wherever the compositor puts it.
#include "OsdChannel.h"
#include "WindowRig.h"

#include <QDBusConnection>
#include <QTemporaryDir>

// org.freedesktop.Notifications: keeps each Notify, answers with the id replaced or a new one.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QVector<QVariantList> calls; // app name, replaced id, summary, body + actions, timeout

public slots:
    uint Notify(const QString &app, uint replaces, const QString &, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &, int timeout) {
        calls.append({app, replaces, summary, body + actions.join(QString()), timeout});
        return replaces != 0 ? replaces : 40 + uint(calls.size());
    }
};

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    // A compositor takes no outline from a window: outside its own (the cut corner) the
    // window is transparent, inside opaque.
    void windowShowsNatively() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        WindowRig rig;
        const QString back = QStringLiteral("skin/cfgMainback.png");
        QDir().mkpath(rig.dir.file(QStringLiteral("skin")));
        QVERIFY(QFile::copy(QStringLiteral(MOUSECFG_APP_DIR "/") + back, rig.dir.file(back)));
        MousecfgWidget &w = rig.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage look = w.grab().toImage();
        QCOMPARE(qAlpha(look.pixel(w.width() - 2, w.height() - 2)), 0);
        QCOMPARE(qAlpha(look.pixel(w.width() / 2, w.height() / 2)), 255);
    }

    // The real OSD program, started by the channel as the window starts it: the second text
    // replaces the first, and the program maps no window (its Wayland requests are logged).
    void osdTextsBecomeNotifications() {
        FakeNotifications service;
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));

        QTemporaryDir dir;
        const QString product = QStringLiteral("WaylandTest");
        QFile profile(dir.filePath(QStringLiteral("DefaultProfile.bin")));
        QFile launcher(dir.filePath(QStringLiteral("run-osd")));
        QFile log(launcher.fileName() + QStringLiteral(".log"));
        QVERIFY(QFile::copy(QStringLiteral(OSD_PROGRAM), dir.filePath(QStringLiteral("OSD"))));
        QVERIFY(profile.open(QIODevice::WriteOnly) && launcher.open(QIODevice::WriteOnly));
        profile.write("[PROFILE]\nProductName=" + product.toLatin1() + "\n");
        launcher.write(
            "#!/bin/sh\nWAYLAND_DEBUG=1 exec \"$(dirname \"$0\")/OSD\" \"$@\" 2>>\"$0.log\"\n");
        profile.close();
        launcher.close();
        QVERIFY(launcher.setPermissions(launcher.permissions() | QFile::ExeOwner));

        OsdChannel channel(product, launcher.fileName());
        channel.show(QStringLiteral("DPI 800"), QColor(0, 190, 255));
        QTRY_COMPARE_WITH_TIMEOUT(service.calls.size(), 1, 15000);
        channel.show(QStringLiteral("Report rate 500 Hz"), Qt::white);
        QTRY_COMPARE(service.calls.size(), 2);
        QCOMPARE(service.calls[0], QVariantList({product, 0u, QStringLiteral("DPI 800"), QString(),
                                                 kOsdDisplayTime}));
        QCOMPARE(service.calls[1].mid(1, 2),
                 QVariantList({41u, QStringLiteral("Report rate 500 Hz")}));

        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray requests = log.readAll();
        QVERIFY2(requests.contains("wl_registry") && !requests.contains("wl_surface"),
                 requests.right(2000).constData());
    }
};

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"
