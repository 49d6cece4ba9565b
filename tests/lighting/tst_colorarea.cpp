// SPDX-License-Identifier: GPL-3.0-or-later
// The colour editor: its number boxes, hexadecimal text, presets and field keep one colour.
#include "ColorAreas.h"
#include "KelColorArea.h"
#include "Scale.h"
#include "TestAppDir.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

namespace {
QSpinBox *box(KelColorArea &editor, const char *name) {
    return editor.findChild<QSpinBox *>(QLatin1String(name));
}

QLineEdit *hexEdit(KelColorArea &editor) {
    return editor.findChild<QLineEdit *>(QStringLiteral("hexEdit"));
}

void typeHex(KelColorArea &editor, const QString &text) {
    hexEdit(editor)->clear();
    QTest::keyClicks(hexEdit(editor), text);
}

// A press at a point, which picks (QTest takes (0, 0) for the middle).
void pressAt(QWidget *widget, const QPoint &at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(widget, &press);
}
} // namespace

class TestColorArea : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setScaleFactor(1.0); }
    void numberBoxesKeepOneColour();
    void hexTextShortLongAndFinished();
    void presetsAndField();
    void fieldAndBarReachTheirEnds_data();
    void fieldAndBarReachTheirEnds();
    void fieldAndBarTakeKeys();
};

void TestColorArea::numberBoxesKeepOneColour() {
    TestAppDir dir;
    KelColorArea editor(QColor(0, 0, 0));

    // Red on black: full saturation and value, hue 0, and every form follows.
    box(editor, "rBox")->setValue(255);
    QCOMPARE(editor.color(), QColor(255, 0, 0));
    QCOMPARE(editor.findChild<SVColorArea *>()->saturation(), 255);
    QCOMPARE(editor.findChild<SVColorArea *>()->value(), 255);
    QCOMPARE(editor.findChild<HColorArea *>()->hue(), 0);
    QCOMPARE(hexEdit(editor)->text(), QStringLiteral("ff0000"));

    // The hue box's top end is red again.
    box(editor, "sBox")->setValue(200);
    box(editor, "hBox")->setValue(120);
    QCOMPARE(box(editor, "gBox")->value(), 255);
    box(editor, "hBox")->setValue(360);
    const QColor at360 = editor.color();
    box(editor, "hBox")->setValue(0);
    QCOMPARE(at360, editor.color());
    QCOMPARE(at360, QColor::fromHsv(0, 200, 255).toRgb());

    // Red, green and blue typed are kept exactly, not rounded through hue/saturation/value.
    box(editor, "rBox")->setValue(10);
    box(editor, "gBox")->setValue(20);
    box(editor, "bBox")->setValue(31);
    QCOMPARE(editor.color(), QColor(10, 20, 31));
}

void TestColorArea::hexTextShortLongAndFinished() {
    TestAppDir dir;
    KelColorArea editor(QColor(1, 2, 3));
    typeHex(editor, QStringLiteral("f0a"));
    QCOMPARE(editor.color(), QColor(255, 0, 170));
    QCOMPARE(box(editor, "bBox")->value(), 170);
    // The text being typed is left as it is, so six digits can follow the short form.
    QCOMPARE(hexEdit(editor)->text(), QStringLiteral("f0a"));
    QTest::keyClicks(hexEdit(editor), QStringLiteral("123"));
    QCOMPARE(editor.color(), QColor(0xf0, 0xa1, 0x23));
    QTest::keyClick(hexEdit(editor), Qt::Key_Return);
    QCOMPARE(hexEdit(editor)->text(), QStringLiteral("f0a123"));

    typeHex(editor, QStringLiteral("7"));
    QCOMPARE(editor.color(), QColor(0xf0, 0xa1, 0x23)); // one digit is no colour yet
    QTest::keyClick(hexEdit(editor), Qt::Key_Return);
    QCOMPARE(hexEdit(editor)->text(), QStringLiteral("000007"));
    QCOMPARE(editor.color(), QColor(0, 0, 7));

    // A finished short form means what it meant while typed.
    typeHex(editor, QStringLiteral("F0A"));
    QTest::keyClick(hexEdit(editor), Qt::Key_Return);
    QCOMPARE(hexEdit(editor)->text(), QStringLiteral("ff00aa"));
    typeHex(editor, QString());
    QTest::keyClick(hexEdit(editor), Qt::Key_Return);
    QCOMPARE(hexEdit(editor)->text(), QStringLiteral("000000"));

    // OK and Cancel pressed, then left with the button held, do nothing; OK clicked takes a
    // text still being typed.
    editor.show();
    typeHex(editor, QStringLiteral("abcde"));
    for (const char *name : {"colorNoBtn", "colorYesBtn"}) {
        auto *button = editor.findChild<QWidget *>(QLatin1String(name));
        QTest::mousePress(button, Qt::LeftButton);
        QMouseEvent off(QEvent::MouseMove, QPoint(-5, -5), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(button, &off);
        QVERIFY2(editor.isVisible(), name);
    }
    QTest::mouseClick(editor.findChild<QWidget *>(QStringLiteral("colorYesBtn")), Qt::LeftButton);
    QCOMPARE(editor.color(), QColor(0x0a, 0xbc, 0xde));
}

void TestColorArea::presetsAndField() {
    TestAppDir dir;
    KelColorArea editor(QColor(10, 200, 30));
    QSignalSpy applied(&editor, &KelColorArea::ApplyColor);

    QTest::mouseClick(editor.findChild<DefaultColorArea *>(QStringLiteral("preset6")),
                      Qt::LeftButton);
    QCOMPARE(editor.saturation(), 0);
    QCOMPARE(editor.value(), 255);
    QCOMPARE(hexEdit(editor)->text(), QStringLiteral("ffffff"));

    // A click in the field picks there, also beyond its edge, and its release applies.
    box(editor, "hBox")->setValue(240);
    auto *field = editor.findChild<SVColorArea *>();
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() + 5, -5));
    QCOMPARE(editor.color(), QColor(0, 0, 255));
    QCOMPARE(applied.count(), 1);
}

void TestColorArea::fieldAndBarReachTheirEnds_data() {
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("top");
    for (const double scale : {1.0, 1.25, 2.0})
        for (const bool right : {false, true})
            for (const bool top : {false, true})
                QTest::addRow("%g %s %s", scale, top ? "top" : "bottom", right ? "right" : "left")
                    << scale << right << top;
}

// The last pixels of the field and the hue bar stand for the extreme values at every scale.
void TestColorArea::fieldAndBarReachTheirEnds() {
    QFETCH(double, scale);
    QFETCH(bool, right);
    QFETCH(bool, top);
    TestAppDir dir;
    setScaleFactor(scale);
    KelColorArea editor(QColor(40, 160, 90));
    auto *field = editor.findChild<SVColorArea *>();
    auto *bar = editor.findChild<HColorArea *>();
    // Hue 360 at the top of the bar and 0 at the bottom: the same red, the marker stays.
    pressAt(bar, QPoint(2, top ? 0 : bar->height() - 1));
    const QPoint corner(right ? field->width() - 1 : 0, top ? 0 : field->height() - 1);
    pressAt(field, corner);
    QCOMPARE(bar->hue(), top ? 360 : 0);
    QCOMPARE(box(editor, "hBox")->value(), 0);
    QCOMPARE(editor.color(), QColor(top ? (right ? 0xff0000 : 0xffffff) : 0));

    // The marker's ring: dark on the bright top rows, light on the dark bottom rows.
    const int ring = qGray(
        field->grab().toImage().pixel(corner.x() + scaled(right ? -6 : 6, scale), corner.y()));
    QVERIFY(top ? ring < 50 : ring > 150);
}

// From the keyboard: the arrows step, Shift by ten, End to the top; a key's release is the end
// of a pick, as a button's is.
void TestColorArea::fieldAndBarTakeKeys() {
    TestAppDir dir;
    KelColorArea editor(QColor(0, 0, 0));
    auto *field = editor.findChild<SVColorArea *>();
    auto *bar = editor.findChild<HColorArea *>();
    QVERIFY(field->focusPolicy() & Qt::TabFocus);
    QSignalSpy picked(field, &SVColorArea::mouseReleaseSignal);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_Right);
    QCOMPARE(field->value(), 255);
    QCOMPARE(field->saturation(), 11);
    QCOMPARE(picked.count(), 3);
    QTest::keyClick(bar, Qt::Key_Up);
    QTest::keyClick(bar, Qt::Key_PageUp);
    QCOMPARE(bar->hue(), 11);
    QCOMPARE(editor.color(), QColor::fromHsv(11, 11, 255).toRgb());
    QCOMPARE(bar->accessibleDescription() + field->accessibleDescription(),
             QStringLiteral("Hue 11Saturation 11, value 255"));
}

QTEST_MAIN(TestColorArea)
#include "tst_colorarea.moc"
