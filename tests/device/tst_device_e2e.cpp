// SPDX-License-Identifier: GPL-3.0-or-later
// End to end: the device layer through the real hidapi and libudev to the virtual mouse
// served by the launcher on virtual hidraw nodes.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run {
    int exitCode = -1;
    QMap<QString, QString> probe; // first word -> rest of the line
    QMap<QString, QString> dump;
};

QMap<QString, QString> lines(const QByteArray &text) {
    QMap<QString, QString> map;
    for (const QByteArray &line : text.split('\n')) {
        const int space = line.indexOf(' ');
        if (space > 0)
            map.insert(QString::fromLatin1(line.left(space)),
                       QString::fromLatin1(line.mid(space + 1)));
    }
    return map;
}

Run run(const QStringList &options) {
    QTemporaryDir dir;
    const QString dump = dir.filePath(QStringLiteral("dump.txt"));
    QProcess p;
    p.start(QStringLiteral(VIRTUAL_MOUSE),
            options + QStringList{QStringLiteral("--dump"), dump, QStringLiteral("--"),
                                  QStringLiteral(DEVICE_PROBE), QStringLiteral(MOUSECFG_APP_DIR)});
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitCode();
    r.probe = lines(p.readAllStandardOutput());
    QFile f(dump);
    if (f.open(QIODevice::ReadOnly))
        r.dump = lines(f.readAll());
    if (r.exitCode != 0)
        qWarning("%s", p.readAllStandardError().constData());
    return r;
}
} // namespace

class TestDeviceEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void downloadReachesTheMouse_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("handle");
        QTest::newRow("both") << QStringList() << "1111"
                              << "command2";
        QTest::newRow("receiver only") << QStringList{"--receiver"} << "1100"
                                       << "command1";
        QTest::newRow("cable only") << QStringList{"--cable"} << "0011"
                                    << "command2";
    }

    void downloadReachesTheMouse() {
        QFETCH(QStringList, options);
        QFETCH(QString, found);
        QFETCH(QString, handle);
        const Run r = run(options);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.probe.value(QStringLiteral("found")).startsWith(found));
        QCOMPARE(r.probe.value(QStringLiteral("handle")), handle);
        QCOMPARE(r.probe.value(QStringLiteral("result")), QStringLiteral("0"));
        // What the mouse holds is what the device layer meant to send.
        QCOMPARE(r.dump.value(QStringLiteral("settings")),
                 r.probe.value(QStringLiteral("settings")));
        QCOMPARE(r.dump.value(QStringLiteral("lighting")),
                 r.probe.value(QStringLiteral("lighting")));
        // Stage 4: x of 400 steps in the second range ((400 - 160) | 0x8000, LE), y 64 plain.
        const QString dpi = r.dump.value(QStringLiteral("dpi"));
        QCOMPARE(dpi.mid(2 * (1 + 5 * 3), 10), QStringLiteral("01f0804000"));
        QVERIFY(r.dump.value(QStringLiteral("buttons")).startsWith(QLatin1String("0a00")));
        QCOMPARE(r.dump.value(QStringLiteral("profile")), QStringLiteral("0"));
    }

    void releaseNumberIsReported() {
        const Run r =
            run({QStringLiteral("--cable"), QStringLiteral("--release"), QStringLiteral("0901")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.probe.value(QStringLiteral("found")).endsWith(QLatin1String("release 901")));
    }
};

QTEST_GUILESS_MAIN(TestDeviceEndToEnd)
#include "tst_device_e2e.moc"
