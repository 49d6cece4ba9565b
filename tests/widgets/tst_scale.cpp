// SPDX-License-Identifier: GPL-3.0-or-later
// Display-scale steps, rounding of scaled geometry, the interface colour table and the
// language font.
#include "InterfaceColour.h"
#include "KeyTable.h"
#include "LanguageFont.h"
#include "Scale.h"
#include "TestAppDir.h"

#include <QtTest>
#include <cmath>

class TestScale : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        setScaleFactor(1.0);
        setCurrentLanguage(0);
    }
    void stepThresholds_data();
    void stepThresholds();
    void factorsOfSteps();
    void roundingHalvesToEven_data();
    void roundingHalvesToEven();
    void scaledGeometry();
    void publishedFactorIsClamped();
    void colourTable_data();
    void colourTable();
    void colourFollowsConfig();
    void fontFollowsLanguageAndConfig();
    void missingFontEntryKeepsDefaults();
};

void TestScale::stepThresholds_data() {
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("step");
    const double thresholds[] = {1.1, 1.4, 1.6, 1.8, 2.1, 2.3, 2.6, 2.8,
                                 3.1, 3.3, 3.6, 3.8, 4.1, 4.3, 4.6, 4.8};
    for (int i = 0; i < 16; ++i) {
        const double t = thresholds[i];
        QTest::addRow("below %.1f", t) << t - 0.01 << i;
        QTest::addRow("at %.1f", t) << t << i + 1;
        QTest::addRow("just above %.1f", t) << t + 0.001 << i + 1;
    }
    QTest::newRow("1.0") << 1.0 << 0;
    QTest::newRow("1.125 is no threshold") << 1.125 << 1;
    QTest::newRow("1.375 is no threshold") << 1.375 << 1;
    QTest::newRow("huge") << 40.0 << 16;
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("nan") << std::nan("") << 0;
}

void TestScale::stepThresholds() {
    QFETCH(double, ratio);
    QFETCH(int, step);
    QCOMPARE(scaleStepForRatio(ratio), step);
    // The screen reports dots per inch; the ratio is taken from them.
    QCOMPARE(scaleStepForDpi(ratio * 96.0), step);
}

void TestScale::factorsOfSteps() {
    QCOMPARE(scaleFactorForStep(0), 1.0);
    QCOMPARE(scaleFactorForStep(16), 5.0);
    QCOMPARE(scaleFactorForStep(-1), 1.0);
    QCOMPARE(scaleFactorForStep(17), 5.0);
    QCOMPARE(scaleFactorForStep(scaleStepForDpi(1.1 * 96)), 1.25);
    QCOMPARE(scaleFactorForStep(scaleStepForDpi(1.09 * 96)), 1.0);
}

void TestScale::roundingHalvesToEven_data() {
    QTest::addColumn<int>("design");
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("expected");
    QTest::newRow("2 x 1.25 = 2.5") << 2 << 1.25 << 2;
    QTest::newRow("6 x 1.25 = 7.5") << 6 << 1.25 << 8;
    QTest::newRow("10 x 1.25 = 12.5") << 10 << 1.25 << 12;
    QTest::newRow("342 x 1.25 = 427.5") << 342 << 1.25 << 428;
    QTest::newRow("478 x 1.25 = 597.5") << 478 << 1.25 << 598;
    QTest::newRow("285 x 1.25 = 356.25") << 285 << 1.25 << 356;
    QTest::newRow("199 x 1.25 = 248.75") << 199 << 1.25 << 249;
    QTest::newRow("3 x 1.5 = 4.5") << 3 << 1.5 << 4;
    QTest::newRow("5 x 1.5 = 7.5") << 5 << 1.5 << 8;
    QTest::newRow("999 x 1.75 = 1748.25") << 999 << 1.75 << 1748;
    QTest::newRow("-2 x 1.25 = -2.5") << -2 << 1.25 << -2;
    QTest::newRow("-6 x 1.25 = -7.5") << -6 << 1.25 << -8;
}

void TestScale::roundingHalvesToEven() {
    QFETCH(int, design);
    QFETCH(double, factor);
    QFETCH(int, expected);
    QCOMPARE(scaled(design, factor), expected);
    setScaleFactor(factor);
    QCOMPARE(scaled(design), expected);
}

void TestScale::scaledGeometry() {
    setScaleFactor(2.0);
    QCOMPARE(scaledRect(286, 75, 456, 386), QRect(572, 150, 912, 772));
    setScaleFactor(1.25);
    QCOMPARE(scaledRect(285, 342, 664, 199), QRect(356, 428, 830, 249));
    QCOMPARE(scaledSize(999, 640), QSize(1249, 800)); // 1248.75
    QCOMPARE(scaledSize(478, 309, 1.25), QSize(598, 386));
    QCOMPARE(roundHalfEven(1e12), std::numeric_limits<int>::max());
}

void TestScale::publishedFactorIsClamped() {
    setScaleFactor(2.75);
    QCOMPARE(scaleFactor(), 2.75);
    setScaleFactor(std::nan(""));
    QCOMPARE(scaleFactor(), 2.75);
    setScaleFactor(0.5);
    QCOMPARE(scaleFactor(), 1.0);
    setScaleFactor(9.0);
    QCOMPARE(scaleFactor(), 5.0);
}

void TestScale::colourTable_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("0 cyan") << 0 << QColor(0, 190, 255);
    QTest::newRow("1 red") << 1 << QColor(255, 45, 85);
    QTest::newRow("2 orange") << 2 << QColor(255, 140, 0);
    QTest::newRow("3 green") << 3 << QColor(0, 220, 120);
    QTest::newRow("4 purple") << 4 << QColor(170, 90, 255);
    QTest::newRow("5 yellow") << 5 << QColor(255, 205, 0);
    QTest::newRow("6 pink") << 6 << QColor(255, 70, 180);
    QTest::newRow("7 white") << 7 << QColor(235, 235, 235);
    QTest::newRow("8 past the end") << 8 << QColor(0, 190, 255);
    QTest::newRow("-1") << -1 << QColor(0, 190, 255);
    QTest::newRow("1000") << 1000 << QColor(0, 190, 255);
}

void TestScale::colourTable() {
    QFETCH(int, id);
    QFETCH(QColor, colour);
    QCOMPARE(interfaceColour(id), colour);

    TestAppDir dir;
    dir.setIni(QStringLiteral("Configs/Config.ini"), {{QStringLiteral("Config/GColorID"), id}});
    QCOMPARE(interfaceColour(), colour);
}

void TestScale::colourFollowsConfig() {
    TestAppDir dir;
    QCOMPARE(interfaceColour(), interfaceColour(0)); // no Config.ini
    const QString ini = QStringLiteral("Configs/Config.ini");
    for (int id : {3, 5, 2, 7}) {
        dir.setIni(ini, {{QStringLiteral("Config/GColorID"), id}});
        QCOMPARE(interfaceColour(), interfaceColour(id));
        QCOMPARE(interfaceColour(), interfaceColour(id)); // read again from the memo
    }
    QFile::remove(dir.file(ini));
    QCOMPARE(interfaceColour(), interfaceColour(0));
}

void TestScale::fontFollowsLanguageAndConfig() {
    TestAppDir dir;
    const QString ini = QStringLiteral("Configs/Config.ini");
    dir.setIni(ini, {{QStringLiteral("FONT_LIST/FONT_0"), QStringLiteral("DejaVu Sans")},
                     {QStringLiteral("FONT_LIST/FONT_SIZE_0"), 10},
                     {QStringLiteral("FONT_LIST/FONT_1"), QStringLiteral("DejaVu Serif")},
                     {QStringLiteral("FONT_LIST/FONT_SIZE_1"), 9}});
    setScaleFactor(1.5);
    QCOMPARE(languageFont().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(languageFont().pixelSize(), 15);

    setCurrentLanguage(1);
    QCOMPARE(languageFont().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(languageFont().pixelSize(), 14); // 13.5
    setScaleFactor(1.25);
    QCOMPARE(languageFont().pixelSize(), 11); // 11.25

    const QFont caption = languageFont(16, true);
    QCOMPARE(caption.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(caption.pixelSize(), 20);
    QVERIFY(caption.bold());

    // A changed file is read again.
    dir.setIni(ini, {{QStringLiteral("FONT_LIST/FONT_SIZE_1"), 12}});
    QCOMPARE(currentLanguageFontChoice().size, 12u);
    QCOMPARE(languageFont().pixelSize(), 15);
}

void TestScale::missingFontEntryKeepsDefaults() {
    TestAppDir dir;
    setCurrentLanguage(4);
    static int warnings;
    warnings = 0;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &) {
            if (type != QtDebugMsg)
                ++warnings;
        });
    const QFont font = languageFont();
    qInstallMessageHandler(previous);
    QCOMPARE(warnings, 0); // no "pixel size <= 0" complaint
    QCOMPARE(font.family(), QFont().family());
    QCOMPARE(font.pixelSize(), QFont().pixelSize());
}

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
