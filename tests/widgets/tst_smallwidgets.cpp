// SPDX-License-Identifier: GPL-3.0-or-later
// The progress bar's own caption, the sending dialog, the menu and the label font.
#include "BatteryChart.h"
#include "InterfaceColour.h"
#include "KelLabel.h"
#include "KelMenu.h"
#include "KelProcessDialog.h"
#include "KelProcessbar.h"
#include "KelSlider.h"
#include "Scale.h"
#include "SkinPictures.h"

#include <QtTest>

class TestSmallWidgets : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setScaleFactor(1.0); }
    void processbarCaption();
    void sliderJumpsToAClickAndFollowsTheDrag();
    void processDialogClosesAccepted();
    void menuTakesInterfaceColour();
    void labelFollowsLanguageFont();
    void batteryChartBreaksAtGapsAndCutsAtEdges();
};

namespace {
int countPixels(const QImage &image, const QColor &colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}
} // namespace

void TestSmallWidgets::processbarCaption() {
    TestAppDir dir;
    KelProcessbar bar;
    // The grey "off" look of the battery bar: text drawn by the bar itself would be white.
    bar.setStyleSheet("QProgressBar{background: rgb(100,100,100); color: white; border: none;"
                      " text-align: center;} QProgressBar::chunk{background: rgb(100,100,100);}");
    bar.resize(120, 30);
    bar.setRange(0, 100);
    bar.setValue(60);
    QCOMPARE(bar.text(), QStringLiteral("60%"));
    QVERIFY(!bar.hasCaption());

    bar.setTextVisible(false);
    QCOMPARE(countPixels(bar.grab().toImage(), Qt::white), 0);

    bar.setCaption("MOUSE OFF");
    QVERIFY(bar.hasCaption());
    QCOMPARE(bar.caption(), QStringLiteral("MOUSE OFF"));
    QVERIFY(bar.text().isEmpty());
    QVERIFY(countPixels(bar.grab().toImage(), Qt::white) > 0);

    // With its standard text visible the caption still replaces the percentage.
    bar.setTextVisible(true);
    QVERIFY(bar.text().isEmpty());

    bar.clearCaption();
    QVERIFY(!bar.hasCaption());
    QCOMPARE(bar.text(), QStringLiteral("60%"));
    bar.setFormat("");
    QCOMPARE(countPixels(bar.grab().toImage(), Qt::white), 0);
}

// A press on the groove puts the handle there at once, and the drag goes on from it.
void TestSmallWidgets::sliderJumpsToAClickAndFollowsTheDrag() {
    KelSlider slider;
    slider.setRange(1, 3);
    slider.resize(228, 25);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QSignalSpy changed(&slider, &QSlider::valueChanged);
    const auto send = [&slider](QEvent::Type type, int x, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(x, slider.height() / 2), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&slider, &e);
    };
    // Nearer the middle than the left end, away from where the handle lands.
    send(QEvent::MouseButtonPress, 80, Qt::LeftButton);
    QCOMPARE(slider.value(), 2);
    QCOMPARE(changed.count(), 1);
    send(QEvent::MouseMove, slider.width() - 4, Qt::LeftButton);
    QCOMPARE(slider.value(), 3);
    send(QEvent::MouseButtonRelease, slider.width() - 4, Qt::NoButton);
}

void TestSmallWidgets::processDialogClosesAccepted() {
    TestAppDir dir;
    writePicture(dir, "skin/process.png", QSize(300, 160), QColor(10, 20, 30));
    setScaleFactor(1.5);
    KelProcessDialog dialog;
    QCOMPARE(dialog.size(), QSize(450, 240));
    QVERIFY(dialog.isModal());
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(dialog.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(pixelAt(&dialog, QPoint(5, 5)), QColor(10, 20, 30));

    // Esc and a close request leave it up: the send goes on and its outcome is yet to come.
    bool shown = false;
    QTimer::singleShot(50, &dialog, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        shown = dialog.isVisible();
        dialog.slotProcessDlg();
    });
    dialog.setResult(-1);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(shown);
}

void TestSmallWidgets::menuTakesInterfaceColour() {
    TestAppDir dir;
    dir.setIni("Configs/Config.ini", {{"Config/GColorID", 6}});
    KelMenu menu;
    QVERIFY(
        menu.styleSheet().contains("QMenu::item:selected{background-color: rgb(255, 70, 180);"));
    dir.setIni("Configs/Config.ini", {{"Config/GColorID", 2}});
    menu.refreshStyle();
    QVERIFY(menu.styleSheet().contains("QMenu::item:selected{background-color: rgb(255, 140, 0);"));
    auto *action = new KelAction("Mode 3", &menu, 2);
    menu.addAction(action);
    QCOMPARE(action->id(), 2);
    QCOMPARE(action->text(), QStringLiteral("Mode 3"));
}

void TestSmallWidgets::labelFollowsLanguageFont() {
    TestAppDir dir;
    dir.setIni("Configs/Config.ini",
               {{"FONT_LIST/FONT_0", "DejaVu Sans"}, {"FONT_LIST/FONT_SIZE_0", 10}});
    setScaleFactor(2.0);
    KelLabel label("NAME");
    QCOMPARE(label.font().pixelSize(), 20);
    label.setDesignPixelSize(14);
    QCOMPARE(label.font().pixelSize(), 28);
    label.setDesignPixelSize(0);
    dir.setIni("Configs/Config.ini", {{"FONT_LIST/FONT_SIZE_0", 12}});
    label.grab(); // painting looks the font up again
    QCOMPARE(label.font().pixelSize(), 24);
}

void TestSmallWidgets::batteryChartBreaksAtGapsAndCutsAtEdges() {
    // A chart from 0 to 100 h with a gap limit of 3 h, times in hours.
    constexpr qint64 h = 60 * 60 * 1000;
    auto series = [](std::initializer_list<BatterySample> samples) {
        return batteryChartSeries(QVector<BatterySample>(samples), 0, 100 * h, 3 * h);
    };
    auto line = [](std::initializer_list<QPointF> points) { return QPolygonF(points); };
    // Halfway between a reading 1 h before the left edge (level 80) and one 1 h after it (60),
    // the line enters at 70; the last reading holds to the right edge, 1 h away.
    BatteryChartSeries s =
        series({{-1 * h, 3900, 80, false}, {1 * h, 3850, 60, false}, {99 * h, 3800, 40, false}});
    // 1 h to 99 h is a gap: two lines.
    QCOMPARE(s.lines.size(), 2);
    QCOMPARE(s.lines[0], line({{0.0, 0.7}, {0.01, 0.6}}));
    QCOMPARE(s.lines[1], line({{0.99, 0.4}, {1.0, 0.4}}));
    QVERIFY(s.charging.isEmpty());

    // Charging from 10 h to 12 h (two readings) and from 50 h, held 3 h past its last reading
    // at 51 h, not until the next at 60 h; the last reading, 40 h before the edge, holds not.
    s = series({{10 * h, 4000, 70, true},
                {11 * h, 4100, 90, true},
                {12 * h, 4150, 100, false},
                {50 * h, 3900, 60, true},
                {51 * h, 4000, 75, true},
                {60 * h, 4150, 100, false}});
    QCOMPARE(s.charging.size(), 2);
    QCOMPARE(s.charging[0], qMakePair(0.10, 0.12));
    QCOMPARE(s.charging[1], qMakePair(0.50, 0.54));
    QCOMPARE(s.lines.size(), 3);
    QCOMPARE(s.lines[2], line({{0.6, 1.0}}));

    // Nothing within the chart, or a reading long before it: nothing drawn.
    QVERIFY(series({}).empty());
    QVERIFY(series({{-10 * h, 3900, 80, false}}).empty());
}

QTEST_MAIN(TestSmallWidgets)
#include "tst_smallwidgets.moc"
