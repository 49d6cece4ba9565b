// SPDX-License-Identifier: GPL-3.0-or-later
// Key codes: the two name tables, HID usages and low-level event translation.
#include "KeyTable.h"

#include <QSet>
#include <QtTest>

class TestKeyTable : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        setFrenchLanguage(-1);
        setCurrentLanguage(0);
    }
    void names_data();
    void names();
    void frenchTableFollowsTheLanguage();
    void usagesAreOneToOne();
    void lookupContract();
    void eventTranslation_data();
    void eventTranslation();
};

void TestKeyTable::names_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QString>("french");
    QTest::newRow("A") << 30 << "A"
                       << "q";
    QTest::newRow("unlisted 84") << 84 << ""
                                 << "";
    QTest::newRow("unlisted 0") << 0 << ""
                                << "";
    QTest::newRow("unlisted 255") << 255 << ""
                                  << "";
    QTest::newRow("keypad Del") << 224 << "Num De"
                                << "Num Del";
    QTest::newRow("left Ctrl") << 29 << "LCtr"
                               << "LCtrl";
    QTest::newRow("right Ctrl") << 238 << "RCtr"
                                << "RCtrl";
    QTest::newRow("2") << 3 << "2" << QString::fromUtf8("\xc3\xa9");
    QTest::newRow("3") << 4 << "3"
                       << "\"";
    QTest::newRow("grave") << 41 << "`" << QString::fromUtf8("\xc2\xb2");
    QTest::newRow("backslash") << 43 << "\\"
                               << "*";
    QTest::newRow("same in both") << 13 << "="
                                  << "=";
    QTest::newRow("space") << 57 << "Space"
                           << "espace";
    QTest::newRow("mouse button") << 242 << "Middle Button"
                                  << "Middle Button";
    QTest::newRow("F12") << 88 << "F12"
                         << "F12";
}

void TestKeyTable::names() {
    QFETCH(int, code);
    QFETCH(QString, normal);
    QFETCH(QString, french);
    setFrenchLanguage(-1);
    QCOMPARE(keyName(code), normal);
    setFrenchLanguage(2);
    setCurrentLanguage(2);
    QCOMPARE(keyName(code), french);
}

void TestKeyTable::frenchTableFollowsTheLanguage() {
    setFrenchLanguage(1);
    setCurrentLanguage(0);
    QCOMPARE(keyName(30), QStringLiteral("A"));
    setCurrentLanguage(1);
    QCOMPARE(keyName(30), QStringLiteral("q"));
    // Absent "french" (-1) never matches, not even a language number of -1.
    setFrenchLanguage(-1);
    setCurrentLanguage(-1);
    QCOMPARE(keyName(30), QStringLiteral("A"));
}

void TestKeyTable::usagesAreOneToOne() {
    QSet<int> usages;
    QSet<int> codes;
    for (int code = 0; code < 256; ++code) {
        int usage = -1;
        if (!keyCodeToUsage(code, usage))
            continue;
        QVERIFY2(!usages.contains(usage), qPrintable(QString::number(usage)));
        usages.insert(usage);
        codes.insert(code);
        int back = -1;
        QVERIFY(usageToKeyCode(usage, back));
        QCOMPARE(back, code);
        QVERIFY(!keyName(code).isEmpty());
    }
    QCOMPARE(usages.size(), kKeyUsageCount);
    // Every usage that maps back names a code of the table.
    for (int usage = 0; usage < 256; ++usage) {
        int code = -1;
        if (usageToKeyCode(usage, code))
            QVERIFY(codes.contains(code));
    }
}

void TestKeyTable::lookupContract() {
    int u = 1234;
    QVERIFY(!keyCodeToUsage(240, u));
    QCOMPARE(u, 1234);
    QVERIFY(keyCodeToUsage(4, u));
    QCOMPARE(u, 32);
    int c = 77;
    QVERIFY(usageToKeyCode(101, c));
    QCOMPARE(c, 93);
    c = 77;
    QVERIFY(!usageToKeyCode(50, c));
    QCOMPARE(c, 77);
    QVERIFY(!usageToKeyCode(-1, c));
    QVERIFY(usageToKeyCode(224, c));
    QCOMPARE(c, 29);
}

void TestKeyTable::eventTranslation_data() {
    QTest::addColumn<int>("scan");
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("code");
    QTest::newRow("Enter") << 28 << 0u << 28;
    QTest::newRow("keypad Enter") << 28 << 1u << 229;
    QTest::newRow("keypad Enter released") << 28 << 129u << 229;
    QTest::newRow("right Ctrl") << 29 << 1u << 238;
    QTest::newRow("left Ctrl") << 29 << 0u << 29;
    QTest::newRow("keypad /") << 53 << 1u << 226;
    QTest::newRow("Num Lock") << 69 << 1u << 225;
    QTest::newRow("Pause (69 plain)") << 69 << 0u << 69;
    QTest::newRow("right Alt") << 56 << 1u << 239;
    QTest::newRow("right Alt with Alt flag") << 56 << 33u << 239;
    QTest::newRow("left Alt with Alt flag") << 56 << 32u << 56;
    QTest::newRow("keypad *") << 55 << 0u << 227;
    QTest::newRow("Print Screen") << 55 << 1u << 55;
    QTest::newRow("keypad 8") << 72 << 0u << 236;
    QTest::newRow("keypad 8 released") << 72 << 128u << 236;
    QTest::newRow("Up") << 72 << 1u << 72;
    QTest::newRow("keypad 8 with Alt") << 72 << 32u << 236;
    QTest::newRow("keypad Enter with Alt") << 28 << 33u << 229;
    QTest::newRow("right Ctrl with Alt") << 29 << 33u << 238;
    QTest::newRow("keypad 7") << 71 << 0u << 235;
    QTest::newRow("keypad 9") << 73 << 0u << 228;
    QTest::newRow("keypad 4") << 75 << 0u << 233;
    QTest::newRow("keypad 6") << 77 << 0u << 234;
    QTest::newRow("keypad 1") << 79 << 0u << 230;
    QTest::newRow("keypad 2") << 80 << 0u << 231;
    QTest::newRow("keypad 3") << 81 << 0u << 232;
    QTest::newRow("keypad 0") << 82 << 0u << 237;
    QTest::newRow("keypad Del") << 83 << 0u << 224;
    QTest::newRow("Delete") << 83 << 1u << 83;
    QTest::newRow("keypad 5 keeps its code") << 76 << 0u << 76;
    QTest::newRow("keypad - keeps its code") << 74 << 0u << 74;
    QTest::newRow("keypad + keeps its code") << 78 << 0u << 78;
    QTest::newRow("A") << 30 << 128u << 30;
}

void TestKeyTable::eventTranslation() {
    QFETCH(int, scan);
    QFETCH(unsigned, flags);
    QFETCH(int, code);
    QCOMPARE(keyCodeFromEvent(scan, flags), code);
}

QTEST_GUILESS_MAIN(TestKeyTable)
#include "tst_keytable.moc"
