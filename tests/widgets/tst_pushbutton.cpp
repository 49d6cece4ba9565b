// SPDX-License-Identifier: GPL-3.0-or-later
// The skinned push button: state rules on hover, press and release, toggle mode, disabled
// buttons, size hints, painting of the state pictures and the text colours.
#include "InterfaceColour.h"
#include "KelPushButton.h"
#include "SkinPictures.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor kColours[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

void enter(QWidget *w) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(w, &event);
}

void leave(QWidget *w) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

void press(QWidget *w) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void release(QWidget *w) {
    QMouseEvent event(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestPushButton : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_dir.reset(); }
    void singlePictureNeverChangesState();
    void hoverWithTwoPictures();
    void toggleModeKeepsCheckedHover();
    void disabledKeepsStateThree();
    void parentDisableFollows();
    void pressFlipsChecked_data();
    void pressFlipsChecked();
    void toggleModeTurnsOncePerClickOrKey();
    void sizeHintFromBackgroundOrPicture();
    void paintsPictureOfState_data();
    void paintsPictureOfState();
    void colourModeUsesInterfaceColour();
    void textColoursByModel();
    void textIsTooltipAndElided();

private:
    // A button with the first count pictures, shown so that it is laid out and painted.
    KelPushButton *makeButton(int count, const QString &background = QString());

    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<QWidget> m_window;
};

void TestPushButton::init() {
    m_dir = std::make_unique<TestAppDir>();
    m_window = std::make_unique<QWidget>();
    m_window->resize(200, 100);
}

KelPushButton *TestPushButton::makeButton(int count, const QString &background) {
    QStringList pictures;
    for (int i = 0; i < count; ++i)
        pictures << writePicture(*m_dir, QStringLiteral("skin/b%1.png").arg(i), QSize(30, 10),
                                 kColours[i]);
    auto *button = new KelPushButton(pictures, m_window.get(), background);
    button->resize(30, 10);
    return button;
}

void TestPushButton::singlePictureNeverChangesState() {
    KelPushButton *b = makeButton(1);
    QSignalSpy over(b, &KelPushButton::OverSignal);
    QSignalSpy entered(b, &KelPushButton::EnterSignal);
    QSignalSpy clicked(b, &QPushButton::clicked);

    enter(b);
    QCOMPARE(b->state(), 0);
    leave(b);
    QCOMPARE(b->state(), 0);
    QCOMPARE(over.count(), 2);
    QCOMPARE(over.at(0).at(1).toBool(), true);
    QCOMPARE(over.at(1).at(1).toBool(), false);

    enter(b);
    press(b);
    QCOMPARE(b->state(), 0);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(entered.at(0).at(0).value<KelPushButton *>(), b);
    release(b);
    QCOMPARE(b->state(), 0);
    QCOMPARE(clicked.count(), 1);
    // A press since the last enter swallows the leave report.
    leave(b);
    QCOMPARE(over.count(), 3);
    QCOMPARE(b->state(), 0);
}

void TestPushButton::hoverWithTwoPictures() {
    KelPushButton *b = makeButton(2);
    enter(b);
    QCOMPARE(b->state(), 1);
    leave(b);
    QCOMPARE(b->state(), 0);
    enter(b);
    press(b);
    QCOMPARE(b->state(), 1); // two pictures: the press keeps the hover picture
    release(b);
    QCOMPARE(b->state(), 1);
    leave(b);
    QCOMPARE(b->state(), 0);
}

void TestPushButton::toggleModeKeepsCheckedHover() {
    KelPushButton *b = makeButton(2);
    b->setToggleMode(true);
    QCOMPARE(b->state(), 0);
    b->setChecked(true);
    QCOMPARE(b->state(), 1);
    enter(b);
    leave(b);
    QCOMPARE(b->state(), 1);

    b->setChecked(false);
    QCOMPARE(b->state(), 0);
    enter(b);
    leave(b);
    QCOMPARE(b->state(), 0);

    // Outside toggle mode a checked button falls back to normal after leaving.
    b->setToggleMode(false);
    b->setChecked(true);
    enter(b);
    leave(b);
    QCOMPARE(b->state(), 0);
}

void TestPushButton::disabledKeepsStateThree() {
    KelPushButton *b = makeButton(4);
    QSignalSpy over(b, &KelPushButton::OverSignal);
    QSignalSpy entered(b, &KelPushButton::EnterSignal);
    QSignalSpy clicked(b, &QPushButton::clicked);
    b->setEnabled(false);
    QCOMPARE(b->state(), 3);
    QVERIFY(!b->isEnabled());

    enter(b);
    QCOMPARE(b->state(), 3);
    press(b);
    QCOMPARE(b->state(), 3);
    release(b);
    QCOMPARE(b->state(), 3);
    leave(b);
    QCOMPARE(b->state(), 3);
    QCOMPARE(over.count(), 2);
    QCOMPARE(over.at(0).at(1).toBool(), true);
    QCOMPARE(over.at(1).at(1).toBool(), false);
    QCOMPARE(entered.count(), 0);
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!b->isChecked());

    b->setEnabled(true);
    QCOMPARE(b->state(), 0);
    b->setToggleMode(true);
    b->setChecked(true);
    b->setEnabled(false);
    QCOMPARE(b->state(), 3);
    b->setEnabled(true);
    QCOMPARE(b->state(), 1);
}

void TestPushButton::parentDisableFollows() {
    KelPushButton *b = makeButton(4);
    m_window->setEnabled(false);
    QCOMPARE(b->state(), 3);
    enter(b);
    QCOMPARE(b->state(), 3);
    m_window->setEnabled(true);
    QCOMPARE(b->state(), 0);

    // Enabling the button itself under a disabled parent leaves it disabled.
    m_window->setEnabled(false);
    b->setEnabled(true);
    QCOMPARE(b->state(), 3);
}

void TestPushButton::pressFlipsChecked_data() {
    QTest::addColumn<int>("pictures");
    QTest::addColumn<bool>("checkedBefore");
    QTest::addColumn<int>("afterPress");
    QTest::addColumn<int>("afterRelease");
    QTest::newRow("1 picture, unchecked") << 1 << false << 0 << 0;
    QTest::newRow("1 picture, checked") << 1 << true << 1 << 1;
    QTest::newRow("2 pictures, unchecked") << 2 << false << 1 << 1;
    QTest::newRow("2 pictures, checked") << 2 << true << 1 << 1;
    QTest::newRow("3 pictures, unchecked") << 3 << false << 2 << 1;
    QTest::newRow("3 pictures, checked") << 3 << true << 0 << 1;
    QTest::newRow("4 pictures, unchecked") << 4 << false << 2 << 1;
    QTest::newRow("4 pictures, checked") << 4 << true << 0 << 1;
}

void TestPushButton::pressFlipsChecked() {
    QFETCH(int, pictures);
    QFETCH(bool, checkedBefore);
    QFETCH(int, afterPress);
    QFETCH(int, afterRelease);
    KelPushButton *b = makeButton(pictures);
    b->setChecked(checkedBefore);
    enter(b);
    press(b);
    QCOMPARE(b->isChecked(), !checkedBefore);
    QCOMPARE(b->state(), afterPress);
    release(b);
    QCOMPARE(b->state(), afterRelease);
    QCOMPARE(b->isChecked(), !checkedBefore);

    // Only the left button presses.
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(b, &right);
    QCOMPARE(b->isChecked(), !checkedBefore);
}

// In toggle mode Qt's checked state (what the keyboard and accessibility read) follows the
// button's own: a click turns both over once, as Space and Enter do.
void TestPushButton::toggleModeTurnsOncePerClickOrKey() {
    KelPushButton *b = makeButton(3);
    b->setToggleMode(true);
    QSignalSpy clicked(b, &QPushButton::clicked);
    press(b);
    release(b);
    QVERIFY(b->isChecked() && b->QAbstractButton::isChecked());
    QTest::keyClick(b, Qt::Key_Space);
    QVERIFY(!b->isChecked() && !b->QAbstractButton::isChecked());
    QTest::keyClick(b, Qt::Key_Return);
    QVERIFY(b->isChecked() && b->QAbstractButton::isChecked());
    QCOMPARE(clicked.count(), 3);
    // Pressed, then let go off the button: no click, and it stays as it was.
    press(b);
    QMouseEvent away(QEvent::MouseButtonRelease, QPointF(-30, -30), Qt::LeftButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(b, &away);
    QVERIFY(b->isChecked() && b->QAbstractButton::isChecked());
    QCOMPARE(clicked.count(), 3);
    b->setChecked(false);
    QVERIFY(!b->QAbstractButton::isChecked());
}

void TestPushButton::sizeHintFromBackgroundOrPicture() {
    const QString normal = writePicture(*m_dir, "skin/n.png", QSize(30, 10), Qt::red);
    const QString hover = writePicture(*m_dir, "skin/h.png", QSize(50, 20), Qt::green);
    const QString back = writePicture(*m_dir, "skin/bg.png", QSize(70, 25), Qt::gray);

    KelPushButton plain({normal, hover}, m_window.get());
    QCOMPARE(plain.sizeHint(), QSize(30, 10));
    enter(&plain);
    QCOMPARE(plain.sizeHint(), QSize(50, 20)); // the picture of the current state

    KelPushButton withBack({normal, hover}, m_window.get(), back);
    QCOMPARE(withBack.sizeHint(), QSize(70, 25));
    enter(&withBack);
    QCOMPARE(withBack.sizeHint(), QSize(70, 25));
}

void TestPushButton::paintsPictureOfState_data() {
    QTest::addColumn<int>("pictures");
    QTest::addColumn<bool>("disable");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("4 pictures, hover") << 4 << false << kColours[1];
    QTest::newRow("4 pictures, disabled") << 4 << true << kColours[3];
    QTest::newRow("2 pictures, disabled shows normal") << 2 << true << kColours[0];
    QTest::newRow("1 picture, hover shows it") << 1 << false << kColours[0];
}

void TestPushButton::paintsPictureOfState() {
    QFETCH(int, pictures);
    QFETCH(bool, disable);
    QFETCH(QColor, expected);
    KelPushButton *b = makeButton(pictures);
    if (disable)
        b->setEnabled(false);
    else
        enter(b);
    QCOMPARE(pixelAt(b, QPoint(2, 2)), expected);
}

void TestPushButton::colourModeUsesInterfaceColour() {
    m_dir->setIni("Configs/Config.ini", {{"Config/GColorID", 3}});
    KelPushButton *b = makeButton(0);
    b->resize(40, 40);
    b->setColourMode(true);
    const QColor base = interfaceColour(3);
    QCOMPARE(pixelAt(b, QPoint(1, 1)), base);
    b->setRoundShape(true);
    QVERIFY(pixelAt(b, QPoint(1, 1)) != base); // outside the ellipse
    QCOMPARE(pixelAt(b, QPoint(20, 20)), base);
    // Hovering lightens the shape even without pictures to switch between.
    enter(b);
    QCOMPARE(pixelAt(b, QPoint(20, 20)).rgb(), base.lighter(125).rgb());
    leave(b);
    QCOMPARE(pixelAt(b, QPoint(20, 20)), base);
    b->setEnabled(false);
    QCOMPARE(pixelAt(b, QPoint(20, 20)), QColor(100, 100, 100));
}

void TestPushButton::textColoursByModel() {
    {
        KelPushButton b({}, m_window.get());
        QCOMPARE(b.textColour(0), QColor(200, 200, 200));
        QCOMPARE(b.textColour(1), QColor(225, 225, 225));
        QCOMPARE(b.textColour(2), QColor(Qt::white));
        QCOMPARE(b.textColour(3), QColor(100, 100, 100));
    }
    m_dir->setIni("DefaultProfile.bin", {{"PROFILE/ColorMode", 1}});
    KelPushButton b({}, m_window.get());
    QCOMPARE(b.textColour(0), QColor(Qt::white));
    QCOMPARE(b.textColour(1), QColor(Qt::black));
    QCOMPARE(b.textColour(2), QColor(Qt::black));
    QCOMPARE(b.textColour(3), QColor(100, 100, 100));
    // Chosen once: a later change of the model file does not recolour the button.
    m_dir->setIni("DefaultProfile.bin", {{"PROFILE/ColorMode", 0}});
    QCOMPARE(b.textColour(0), QColor(Qt::white));
}

void TestPushButton::textIsTooltipAndElided() {
    KelPushButton *b = makeButton(1);
    const QString text = QStringLiteral("A rather long caption for a small button");
    b->setText(text);
    QCOMPARE(b->toolTip(), text);
    b->resize(60, 20);
    QVERIFY(b->displayText() != text);
    QVERIFY(b->displayText().endsWith(QChar(0x2026)));
    b->setNoElide(true);
    QCOMPARE(b->displayText(), text);
}

QTEST_MAIN(TestPushButton)
#include "tst_pushbutton.moc"
