// SPDX-License-Identifier: GPL-3.0-or-later
// The skinned message box: buttons and pictures per kind, the button style, the results of
// its buttons, its frame, and the polling box that closes when the mouse comes back.
#include "InterfaceColour.h"
#include "KelMessageBox.h"
#include "Scale.h"
#include "SkinPictures.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

class TestMessageBox : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void kinds_data();
    void kinds();
    void fixedScaledSizeAndTexts();
    void buttonStyleSheetIsExact();
    void buttonsCloseWithResult_data();
    void buttonsCloseWithResult();
    void paintsBackgroundAndFrame();
    void focusMarkLiesInsideTheButtonEdge();
    void pollingBoxClosesWhenMouseIsBack();
    void pollingBoxStaysOpenWithoutMouse();
    void readyBeforeShowClosesSoonAfterShow();
    void plainBoxIgnoresReadyFlag();

private:
    std::unique_ptr<TestAppDir> m_dir;
};

void TestMessageBox::init() {
    m_dir = std::make_unique<TestAppDir>();
    writePicture(*m_dir, "skin/warn.png", QSize(45, 45), Qt::red);
    writePicture(*m_dir, "skin/dongle2.png", QSize(45, 45), Qt::green);
    writePicture(*m_dir, "skin/dlg.png", QSize(100, 60), QColor(20, 20, 20));
    setMouseReadyFlag(false);
    setScaleFactor(1.0);
}

void TestMessageBox::cleanup() {
    setMouseReadyFlag(false);
    setScaleFactor(1.0);
    m_dir.reset();
}

void TestMessageBox::kinds_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("yesText");
    QTest::addColumn<bool>("hasNo");
    QTest::addColumn<QColor>("picture"); // invalid: no picture
    QTest::newRow("0") << 0 << "Ok" << false << QColor();
    QTest::newRow("1") << 1 << "Yes" << true << QColor(Qt::red);
    QTest::newRow("2") << 2 << "Ok" << false << QColor(Qt::red);
    QTest::newRow("3") << 3 << "Ok" << false << QColor(Qt::red);
    QTest::newRow("4") << 4 << "Ok" << false << QColor(Qt::green);
    QTest::newRow("5") << 5 << "Ok" << false << QColor();
    QTest::newRow("-1") << -1 << "Ok" << false << QColor();
}

void TestMessageBox::kinds() {
    QFETCH(int, kind);
    QFETCH(QString, yesText);
    QFETCH(bool, hasNo);
    QFETCH(QColor, picture);
    KelMessageBox box(kind, "Warning", "first", "second");
    QCOMPARE(box.kind(), kind);
    QCOMPARE(box.findChildren<QToolButton *>().size(), hasNo ? 2 : 1);
    auto *yes = box.findChild<QToolButton *>("msgBoxYesBtn");
    QVERIFY(yes);
    QCOMPARE(yes->text(), yesText);
    auto *no = box.findChild<QToolButton *>("msgBoxNoBtn");
    QCOMPARE(no != nullptr, hasNo);
    if (no)
        QCOMPARE(no->text(), QStringLiteral("No"));

    auto *label = box.findChild<QLabel *>("msgBoxPictureLabel");
    QVERIFY(label);
    box.show();
    QCOMPARE(label->isVisible(), picture.isValid());
    if (picture.isValid()) {
        QCOMPARE(label->size(), QSize(45, 45));
        const QPixmap shown = label->pixmap(Qt::ReturnByValue);
        QVERIFY(!shown.isNull());
        QCOMPARE(shown.toImage().pixelColor(10, 10), picture);
    }
}

void TestMessageBox::fixedScaledSizeAndTexts() {
    setScaleFactor(1.25);
    QWidget parent;
    KelMessageBox box(2, "Warning", "Mouse is sleeping or not connected.", "second", &parent);
    QCOMPARE(box.minimumSize(), QSize(598, 386));
    QCOMPARE(box.maximumSize(), QSize(598, 386));
    QCOMPARE(box.windowTitle(), QStringLiteral("Warning"));
    QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(box.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(KelMessageBox::lastParent(), &parent);
    auto *l1 = box.findChild<QLabel *>("msgBoxInfoLabel1");
    auto *l2 = box.findChild<QLabel *>("msgBoxInfoLabel2");
    QVERIFY(l1 && l2);
    QCOMPARE(l1->text(), QStringLiteral("Mouse is sleeping or not connected."));
    QCOMPARE(l2->text(), QStringLiteral("second"));
    QVERIFY(l1->wordWrap() && l2->wordWrap());
    QCOMPARE(l1->font().pixelSize(), 18); // 14 x 1.25 = 17.5
    QVERIFY(!box.isPolling());
}

void TestMessageBox::buttonStyleSheetIsExact() {
    m_dir->setIni("Configs/Config.ini", {{"Config/GColorID", 1}});
    const QString expected =
        "QToolButton{background: rgb(0, 0, 0); color: rgb(255, 255, 255);                       "
        "border-radius: 3px;  border: 1px rgb(255, 45, 85);                       border-style: "
        "outset;}";
    KelMessageBox box(1, "Warning", "a", "b");
    QCOMPARE(box.findChild<QToolButton *>("msgBoxYesBtn")->styleSheet(), expected);
    QCOMPARE(box.findChild<QToolButton *>("msgBoxNoBtn")->styleSheet(), expected);
    QCOMPARE(KelMessageBox::buttonStyleSheet(interfaceColour(1)), expected);
}

void TestMessageBox::buttonsCloseWithResult_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("kind 1 yes") << 1 << "msgBoxYesBtn" << int(QDialog::Accepted);
    QTest::newRow("kind 1 no") << 1 << "msgBoxNoBtn" << int(QDialog::Rejected);
    QTest::newRow("kind 0 ok") << 0 << "msgBoxYesBtn" << int(QDialog::Accepted);
    QTest::newRow("kind 4 ok") << 4 << "msgBoxYesBtn" << int(QDialog::Accepted);
}

void TestMessageBox::buttonsCloseWithResult() {
    QFETCH(int, kind);
    QFETCH(QString, button);
    QFETCH(int, result);
    KelMessageBox box(kind, "Warning", "a", "b");
    auto *target = box.findChild<QToolButton *>(button);
    QVERIFY(target);
    bool stillOpenAfterPress = false;
    QTimer::singleShot(0, &box, [&] {
        QTest::mousePress(target, Qt::LeftButton);
        stillOpenAfterPress = box.isVisible();
        QTest::mouseRelease(target, Qt::LeftButton);
    });
    // A result the buttons can never give, so a wrong close is seen.
    box.setResult(-7);
    QCOMPARE(box.exec(), result);
    QVERIFY(stillOpenAfterPress); // the release closes, not the press
    QVERIFY(!box.isVisible());
    QVERIFY(!box.closedByPlugIn());
}

void TestMessageBox::paintsBackgroundAndFrame() {
    m_dir->setIni("Configs/Config.ini", {{"Config/GColorID", 5}});
    KelMessageBox box(0, "Warning", "", "");
    const QImage image = box.grab().toImage();
    const QColor frame = interfaceColour(5);
    QCOMPARE(image.pixelColor(0, 150), frame);
    QCOMPARE(image.pixelColor(1, 150), frame);
    QCOMPARE(image.pixelColor(477, 150), frame);
    QCOMPARE(image.pixelColor(240, 308), frame);
    QCOMPARE(image.pixelColor(3, 150), QColor(20, 20, 20));
    QCOMPARE(image.pixelColor(240, 20), QColor(20, 20, 20));
}

// From the keyboard, the focused button's mark lies inside its edge, which has the same colour.
void TestMessageBox::focusMarkLiesInsideTheButtonEdge() {
    KelMessageBox box(KelMessageBox::KindQuestion, "Warning", "Really?", "");
    box.show();
    QApplication::setActiveWindow(&box);
    auto *yes = box.findChild<QToolButton *>("msgBoxYesBtn");
    auto *no = box.findChild<QToolButton *>("msgBoxNoBtn");
    QTest::keyClick(yes, Qt::Key_Shift);
    const QPoint inside(KelMessageBox::kFocusInset, yes->height() / 2);
    QCOMPARE(yes->grab().toImage().pixelColor(inside), interfaceColour());
    QCOMPARE(no->grab().toImage().pixelColor(inside), QColor(Qt::black));
}

void TestMessageBox::pollingBoxClosesWhenMouseIsBack() {
    KelMessageBox box(4, "Warning", "Dongle Disconnect!", "", nullptr, true);
    QVERIFY(box.isPolling());
    QElapsedTimer sinceReady;
    bool openBeforeReady = false;
    QTimer::singleShot(350, [&] {
        openBeforeReady = box.isVisible();
        setMouseReadyFlag(true);
        sinceReady.start();
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    const qint64 elapsed = sinceReady.elapsed();
    QVERIFY(openBeforeReady);
    QVERIFY(box.closedByPlugIn());
    QVERIFY2(elapsed <= KelMessageBox::kPollIntervalMs + 40,
             qPrintable(QStringLiteral("closed %1 ms after the mouse came back").arg(elapsed)));
}

void TestMessageBox::pollingBoxStaysOpenWithoutMouse() {
    KelMessageBox box(4, "Warning", "Dongle Disconnect!", "", nullptr, true);
    bool openAfterWait = false;
    QTimer::singleShot(450, &box, [&] {
        openAfterWait = box.isVisible();
        QTest::mouseClick(box.findChild<QToolButton *>("msgBoxYesBtn"), Qt::LeftButton);
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QVERIFY(openAfterWait);
    QVERIFY(!box.closedByPlugIn());
}

void TestMessageBox::readyBeforeShowClosesSoonAfterShow() {
    KelMessageBox box(4, "Warning", "Dongle Disconnect!", "", nullptr, true);
    setMouseReadyFlag(true);
    QTest::qWait(250); // ticks before exec() must not leave the box stuck
    QElapsedTimer shown;
    shown.start();
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QVERIFY(box.closedByPlugIn());
    QVERIFY(shown.elapsed() <= KelMessageBox::kPollIntervalMs + 40);
}

void TestMessageBox::plainBoxIgnoresReadyFlag() {
    setMouseReadyFlag(true);
    KelMessageBox box(4, "Warning", "Dongle Disconnect!", "", nullptr, false);
    bool openAfterWait = false;
    QTimer::singleShot(300, &box, [&] {
        openAfterWait = box.isVisible();
        box.reject();
    });
    QCOMPARE(box.exec(), int(QDialog::Rejected));
    QVERIFY(openAfterWait);
    QVERIFY(!box.closedByPlugIn());
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
