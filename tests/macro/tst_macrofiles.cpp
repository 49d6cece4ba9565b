// SPDX-License-Identifier: GPL-3.0-or-later
// Macro files: the round trip of every step kind, and files that are missing, damaged or
// named unsafely.
#include "AppConfig.h"
#include "MacroFile.h"
#include "TestAppDir.h"

#include <QtTest>

class TestMacroFiles : public QObject {
    Q_OBJECT

private slots:
    void everyStepKindSurvivesSaveAndLoad() {
        TestAppDir dir;
        MacroFile out;
        out.DefaultDelay = 250;
        out.DelayType = 2;
        out.LoopType = 3;
        out.LoopTime = 17;
        out.events = {
            {0x84, 0, 0x06},    // C down
            {0x04, 0, 0x06},    // C up
            {0x81, 0, 0x01},    // left button down
            {0x01, 0, 0x01},    // left button up
            {0x02, 0, 0xF6},    // 10 to the left
            {0x02, 0x05, 0},    // 5 down
            {0x06, 0x01, 0x2C}, // 300 units
        };
        QVERIFY(saveMacroFile(QStringLiteral("all kinds"), out));
        MacroFile in;
        QVERIFY(loadMacroFile(QStringLiteral("all kinds"), in));
        QCOMPARE(in.DefaultDelay, 250);
        QCOMPARE(in.DelayType, 2);
        QCOMPARE(in.LoopType, 3);
        QCOMPARE(in.LoopTime, 17);
        QCOMPARE(in.events, out.events);

        // The keys as the mouse download and older files read them.
        QSettings ini(macroFilePath(QStringLiteral("all kinds")), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Setting/Count")).toInt(), 7);
        QCOMPARE(ini.value(QStringLiteral("Setting/Map_4")).toString(), QStringLiteral("2"));
        QCOMPARE(ini.value(QStringLiteral("Setting/DataL_4")).toString(), QStringLiteral("246"));
        QCOMPARE(ini.value(QStringLiteral("Setting/WriteSign")).toInt(), 1);
        QCOMPARE(ini.value(QStringLiteral("Setting/MacroFilePath")).toString(),
                 QFileInfo(macroFilePath(QStringLiteral("all kinds"))).absoluteFilePath());

        // A shorter save replaces every step key; a gun file carries no write sign.
        out.events.resize(1);
        QVERIFY(saveGunFile(QStringLiteral("all kinds"), out));
        ini.sync();
        QVERIFY(!ini.contains(QStringLiteral("Setting/Map_1")));
        QVERIFY(!ini.contains(QStringLiteral("Setting/WriteSign")));
    }

    void missingDamagedAndUnsafeFiles() {
        TestAppDir dir;
        MacroFile in;
        in.events.append({1, 2, 3});
        QVERIFY(!loadMacroFile(QStringLiteral("nothing"), in));
        QCOMPARE(in.DefaultDelay, 10);
        QCOMPARE(in.LoopTime, 1);
        QVERIFY(in.events.isEmpty());

        for (const QString &bad : {QStringLiteral("../escape"), QStringLiteral("a\\b"),
                                   QStringLiteral(".."), QString()}) {
            QVERIFY(!saveMacroFile(bad, MacroFile()));
            QVERIFY(!loadMacroFile(bad, in));
        }
        QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("Configs/escape.MSMACRO"))));

        // A count far beyond the steps present loads the steps there are, at once; a
        // negative count loads none; a step's missing bytes read as 0, missing or wild
        // settings as the editor's fields can show them.
        const QString path = QStringLiteral("Configs/MacroDB/wild.MSMACRO");
        dir.setIni(path, {{QStringLiteral("Setting/Count"), 2000000000},
                          {QStringLiteral("Setting/Map_0"), 132},
                          {QStringLiteral("Setting/DataL_0"), 4},
                          {QStringLiteral("Setting/Map_1"), 4}});
        QElapsedTimer clock;
        clock.start();
        QVERIFY(loadMacroFile(QStringLiteral("wild"), in));
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(in.events, (QVector<MacroEvent>{{132, 0, 4}, {4, 0, 0}}));
        QCOMPARE(in.DefaultDelay, 10);
        QVERIFY(QFile::remove(dir.file(path)));
        dir.setIni(path, {{QStringLiteral("Setting/Count"), 99999999999LL},
                          {QStringLiteral("Setting/Map_0"), 132},
                          {QStringLiteral("Setting/Map_2"), 4}, // after a gap: not a step
                          {QStringLiteral("Setting/DefaultDelay"), 0},
                          {QStringLiteral("Setting/LoopTime"), 0},
                          {QStringLiteral("Setting/DelayType"), 9}});
        QVERIFY(loadMacroFile(QStringLiteral("wild"), in));
        QCOMPARE(in.events, (QVector<MacroEvent>{{132, 0, 0}}));
        QCOMPARE(in.DefaultDelay, 10);
        QCOMPARE(in.LoopTime, 1);
        QCOMPARE(in.DelayType, 2);
        dir.setIni(path, {{QStringLiteral("Setting/Count"), -5}});
        QVERIFY(loadMacroFile(QStringLiteral("wild"), in));
        QVERIFY(in.events.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMacroFiles)
#include "tst_macrofiles.moc"
