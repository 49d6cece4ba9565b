// What a screen reader finds in the window against the virtual mouse: on every page, and in
// the lighting page's colour editor, each control showing has a name.
//
// A control is what a user acts on or reads a state from: buttons, check and radio boxes,
// sliders, spin boxes, fields, lists and trees, progress bars and pictures (a decorative
// picture such as the logo is named too: it reads as the product's name), and a painted
// widget of our own with nothing inside (the colour swatch, the DPI stage's slider). Static
// texts are named by their own text; the window, the pages and other containers are not
// controls. atspi_names.py reads the running program by the same rule.
#include "KelColorArea.h"
#include "WindowRig.h"

#include <QAccessible>
#include <QtTest>

namespace {
bool isControl(QAccessibleInterface *object) {
    switch (object->role()) {
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::ProgressBar:
    case QAccessible::Graphic:
        return true;
    case QAccessible::Client:
        return object->childCount() == 0;
    default:
        return false;
    }
}

// The showing controls under an object, and those that have no name as "role class 'name'
// at x,y wxh".
void unnamedControls(QAccessibleInterface *parent, QStringList &unnamed, int &controls) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (!child || child->state().invisible || child->state().offscreen)
            continue;
        if (isControl(child)) {
            ++controls;
            if (child->text(QAccessible::Name).trimmed().isEmpty()) {
                QObject *o = child->object();
                const QRect r = child->rect();
                unnamed << QStringLiteral("role %1 %2 '%3' at %4,%5 %6x%7")
                               .arg(int(child->role()), 0, 16)
                               .arg(QLatin1String(o ? o->metaObject()->className() : "?"),
                                    o ? o->objectName() : QString())
                               .arg(r.x())
                               .arg(r.y())
                               .arg(r.width())
                               .arg(r.height());
            }
        }
        unnamedControls(child, unnamed, controls);
    }
}
} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void everyShowingControlIsNamed_data() {
        QTest::addColumn<int>("page");
        QTest::newRow("LIGHTING") << int(MousecfgWidget::PageLighting);
        QTest::newRow("CUSTOMIZE") << int(MousecfgWidget::PageCustomize);
        QTest::newRow("DPI") << int(MousecfgWidget::PageDpi);
        QTest::newRow("MACRO") << int(MousecfgWidget::PageMacro);
        QTest::newRow("colour editor") << -1;
    }
    void everyShowingControlIsNamed() {
        QFETCH(int, page);
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget *shown = &w;
        std::unique_ptr<KelColorArea> editor;
        if (page >= 0) {
            w.setPage(page);
        } else {
            editor = std::make_unique<KelColorArea>(QColor(200, 40, 90), &w);
            editor->show();
            shown = editor.get();
        }
        QStringList unnamed;
        int controls = 0;
        unnamedControls(QAccessible::queryAccessibleInterface(shown), unnamed, controls);
        QVERIFY2(controls > 10, qPrintable(QString::number(controls)));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
