// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds: in the window against the virtual mouse through Qt's
// accessibility interface, and in the real program over AT-SPI (atspi_names.py, on its own X
// server and D-Bus session). On every page, and in the colour editor, each control showing
// has a name, as has each control of the other dialogs and each dialog. A control is what a user
// acts on or reads a state from (buttons, boxes, sliders, fields, lists, progress bars,
// pictures, the logo included), or a painted widget of our own with nothing inside; texts are
// named by themselves and containers are no controls.
#include "AppInstall.h"
#include "KelColorArea.h"
#include "KelFireKeyWindow.h"
#include "KelGunsetDialog.h"
#include "KelMacroSelect.h"
#include "KelMessageBox.h"
#include "KelProcessDialog.h"
#include "KelSniperWindow.h"
#include "PrivateXServer.h"
#include "WindowRig.h"

#include <QAccessible>
#include <QCheckBox>
#include <QStandardPaths>
#include <QtTest>

namespace {
bool isControl(QAccessibleInterface *object) {
    using A = QAccessible;
    static const QSet<A::Role> roles = {
        A::PushButton,   A::ButtonMenu, A::ButtonDropDown, A::CheckBox, A::RadioButton,
        A::Slider,       A::SpinBox,    A::ComboBox,       A::List,     A::Tree,
        A::EditableText, A::Graphic,    A::ProgressBar,    A::PageTab};
    return roles.contains(object->role()) ||
           (object->role() == A::Client && object->childCount() == 0);
}

// Counts the showing controls under an object and lists those without a name.
void unnamedControls(QAccessibleInterface *parent, QStringList &unnamed, int &controls) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (!child || child->state().invisible || child->state().offscreen)
            continue;
        if (isControl(child)) {
            ++controls;
            if (child->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << QStringLiteral("%1 at %2,%3")
                               .arg(QLatin1String(child->object()->metaObject()->className()))
                               .arg(child->rect().x())
                               .arg(child->rect().y());
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
        w.setPage(qMax(page, 0));
        KelColorArea editor(QColor(200, 40, 90), &w);
        if (page < 0)
            editor.show();
        QStringList unnamed;
        int controls = 0;
        QWidget *shown = page < 0 ? static_cast<QWidget *>(&editor) : &w;
        unnamedControls(QAccessible::queryAccessibleInterface(shown), unnamed, controls);
        QVERIFY2(controls > 10, qPrintable(QString::number(controls)));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }

    void everyDialogIsNamed() {
        TestAppDir dir;
        KelMessageBox box(KelMessageBox::KindQuestion, "Warning", "Really?", QString());
        KelFireKeyWindow fire;
        KelSniperWindow sniper(0);
        KelMacroSelect select("MACRO SELECT", "", 1, 0);
        KelGunsetDialog gun(nullptr, 1.0);
        KelProcessDialog sending;
        for (QDialog *d :
             std::initializer_list<QDialog *>{&box, &fire, &sniper, &select, &gun, &sending}) {
            d->show();
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(d);
            QStringList unnamed{a->text(QAccessible::Name).isEmpty() ? "the dialog" : ""};
            int controls = 0;
            unnamedControls(a, unnamed, controls);
            QVERIFY2(unnamed.join("").isEmpty(), qPrintable(unnamed.join("; ")));
        }
        // The fire key's kinds and the loop modes are one choice out of several.
        QCOMPARE(QAccessible::queryAccessibleInterface(fire.kindBox(1))->role(),
                 QAccessible::RadioButton);
        // The box's message is its description: a screen reader says it with the title.
        QCOMPARE(QAccessible::queryAccessibleInterface(&box)->text(QAccessible::Description),
                 QStringLiteral("Really?"));
    }

    // The script prints "PAGE controls unnamed" for each page, then the unnamed ones.
    void everyPageIsNamedOverAtspi() {
        const QString python = QStringLiteral("/usr/bin/python3");
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("dbus-run-session")).isEmpty() ||
            !QFile::exists(QStringLiteral("/usr/libexec/at-spi-bus-launcher")) ||
            QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import pyatspi")}))
            QSKIP("Xvfb, dbus-run-session, at-spi2-core and python3-pyatspi are needed");
        const QString build = QStringLiteral(MOUSECFG_APP_DIR);
        PrivateXServer xvfb(build + QStringLiteral("/tests/atspi-runtime-XXXXXX"));
        QTemporaryDir dir(build + QStringLiteral("/tests/atspi-app-XXXXXX"));
        QVERIFY(xvfb.start() && dir.isValid() && installApp(dir.path()));
        QProcess reader;
        reader.setProcessEnvironment(xvfb.programEnvironment());
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.setWorkingDirectory(dir.path());
        reader.start(QStringLiteral("dbus-run-session"),
                     {QStringLiteral("--"), python,
                      QStringLiteral(MOUSECFG_SOURCE_DIR "/tests/app/atspi_names.py"),
                      QStringLiteral("--"), QStringLiteral(VIRTUAL_MOUSE), QStringLiteral("--"),
                      dir.filePath(QStringLiteral("mousecfg"))});
        const bool ended = reader.waitForFinished(120000);
        const QString report = QString::fromLocal8Bit(reader.readAll());
        endProcess(reader);
        QVERIFY2(ended && reader.exitCode() == 0, qPrintable(report));
        const QRegularExpression pageRead(QStringLiteral("^[A-Z]+ [1-9][0-9]* 0$"),
                                          QRegularExpression::MultilineOption);
        QCOMPARE(report.count(pageRead), 4);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
