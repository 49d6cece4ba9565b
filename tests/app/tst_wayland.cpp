// SPDX-License-Identifier: GPL-3.0-or-later
// The window and the on-screen display on a Wayland compositor, as weston-run.sh starts this
// test inside a session bus of its own: the window shows natively, and the OSD program's
// texts become desktop notifications (taken here by a stand-in for the desktop's
// notification service) instead of a plate wherever the compositor would put it.
#include "OsdChannel.h"
#include "WindowRig.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray readText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &text, bool executable) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size())
        return false;
    f.close();
    return !executable || f.setPermissions(f.permissions() | QFile::ExeOwner);
}
} // namespace

// org.freedesktop.Notifications as a desktop serves it: each Notify is kept, and answered
// with the id it replaced or a new one.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    static constexpr uint kFirstId = 41;
    struct Call {
        QString appName;
        uint replacesId;
        QString summary;
        QString body;
        QStringList actions;
        int expireTimeout;
    };
    QVector<Call> calls;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &,
                int expireTimeout) {
        calls.append({appName, replacesId, summary, body, actions, expireTimeout});
        return replacesId != 0 ? replacesId : kFirstId + uint(calls.size());
    }
};

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void windowShowsNatively() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        QVERIFY(w.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

    // The real OSD program, started by the channel as the window starts it: two texts are
    // one notification, the second replacing the first, and no window is ever mapped.
    void osdTextsBecomeNotifications() {
        FakeNotifications service;
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.isConnected(), "no session bus: run under dbus-run-session");
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));

        QTemporaryDir appDir;
        QVERIFY(appDir.isValid());
        const QString product =
            QStringLiteral("WaylandTest%1").arg(QCoreApplication::applicationPid());
        const QString osd = appDir.filePath(QStringLiteral("OSD"));
        const QString log = appDir.filePath(QStringLiteral("osd.log"));
        const QString launcher = appDir.filePath(QStringLiteral("run-osd"));
        QVERIFY(QFile::copy(QStringLiteral(OSD_PROGRAM), osd));
        QVERIFY(writeFile(appDir.filePath(QStringLiteral("DefaultProfile.bin")),
                          "[PROFILE]\nProductName=" + product.toLatin1() + "\n", false));
        // Every Wayland request the program makes goes to its log.
        QVERIFY(writeFile(launcher,
                          "#!/bin/sh\nWAYLAND_DEBUG=1 exec '" + osd.toLocal8Bit() +
                              "' \"$@\" 2>>'" + log.toLocal8Bit() + "'\n",
                          true));

        OsdChannel channel(product, launcher);
        channel.show(QStringLiteral("DPI 800"), QColor(0, 190, 255));
        QTRY_VERIFY2_WITH_TIMEOUT(service.calls.size() == 1, readText(log).right(2000), 15000);
        channel.show(QStringLiteral("Report rate 500 Hz"), Qt::white);
        QTRY_VERIFY2_WITH_TIMEOUT(service.calls.size() == 2, readText(log).right(2000), 5000);

        const FakeNotifications::Call first = service.calls[0];
        QCOMPARE(first.appName, product);
        QCOMPARE(first.replacesId, 0u);
        QCOMPARE(first.summary, QStringLiteral("DPI 800"));
        QVERIFY(first.body.isEmpty() && first.actions.isEmpty());
        QCOMPARE(first.expireTimeout, kOsdDisplayTime);
        QCOMPARE(service.calls[1].summary, QStringLiteral("Report rate 500 Hz"));
        QCOMPARE(service.calls[1].replacesId, FakeNotifications::kFirstId + 1);

        const QByteArray requests = readText(log);
        QVERIFY2(requests.contains("wl_registry"), requests.right(2000).constData());
        QVERIFY2(!requests.contains("xdg_toplevel") && !requests.contains("wl_surface"),
                 requests.right(2000).constData());
    }
};

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"
