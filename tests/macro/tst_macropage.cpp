// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page offscreen, driven as a user would: recording keys (Alt combinations, held
// keys, every extended and keypad key), the unreleased-key warning, the command tree and
// the 63-step limit, edit mode, reordering, copy and paste between macros, renaming,
// importing and gun sets.
#include "AppConfig.h"
#include "KelGunsetDialog.h"
#include "KelLineEdit.h"
#include "KelPushButton.h"
#include "KelTreeWidget.h"
#include "KeyStep.h"
#include "KeyTable.h"
#include "MacroDialog.h"
#include "MacroFile.h"
#include "MacroList.h"
#include "MacroListPanel.h"
#include "MacroRules.h"
#include "ModalCloser.h"
#include "TestAppDir.h"

#include <QAccessible>
#include <QCheckBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

class TestMacroPage : public QObject {
    Q_OBJECT

    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<MacroDialog> m_page;

    MacroDialog &page() { return *m_page; }
    void click(const char *button) {
        auto *b = m_page->findChild<KelPushButton *>(QLatin1String(button));
        QVERIFY2(b && b->isEnabled(), button);
        b->click();
    }
    // A key as the windowing system sends it to the window: the evdev code + 8.
    void sendKey(int evdev, bool press, bool repeat = false) {
        QKeyEvent e(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier,
                    quint32(evdev + 8), 0, 0, QString(), repeat);
        QCoreApplication::sendEvent(m_page->windowHandle(), &e);
    }
    void tap(int evdev) {
        sendKey(evdev, true);
        sendKey(evdev, false);
    }
    MacroFile saved(const QString &name) {
        MacroFile f;
        loadMacroFile(name, f);
        return f;
    }
    void clickItem(QTreeWidgetItem *item) {
        KelTreeWidget *tree = m_page->listPanel()->tree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
    }

private slots:
    void init() {
        m_dir = std::make_unique<TestAppDir>();
        m_dir->installData(QStringLiteral("DefaultProfile.bin"));
        m_dir->installData(QStringLiteral("Configs/Config.ini"));
        m_page = std::make_unique<MacroDialog>();
        m_page->resize(665, 467);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
        click("macroNewBtn");
        QCOMPARE(page().currentMacro(), QStringLiteral("name_1"));
    }
    void cleanup() {
        m_page.reset();
        m_dir.reset();
    }

    void recordingKeysAltCombinationsAndRepeats() {
        QSignalSpy enable(&page(), &MacroDialog::EnableButtonsSignal);
        click("macroRecordBtn");
        QVERIFY(page().isRecording());
        QCOMPARE(enable.takeFirst().at(0).toBool(), false);
        QVERIFY(!page().findChild<KelPushButton *>(QStringLiteral("macroNewBtn"))->isEnabled());
        sendKey(56, true); // left Alt, then F4 while it is held
        tap(62);
        sendKey(56, false);
        sendKey(30, true); // A held: X repeats it as release-press pairs
        for (int i = 0; i < 3; ++i) {
            sendKey(30, false, true);
            sendKey(30, true, true);
        }
        sendKey(30, false);
        tap(100); // right Alt
        click("macroRecordBtn");
        QCOMPARE(enable.takeFirst().at(0).toBool(), true);
        const QVector<MacroEvent> expected{
            keyStep(56, true), keyStep(62, true),  keyStep(62, false), keyStep(56, false),
            keyStep(30, true), keyStep(30, false), keyStep(239, true), keyStep(239, false)};
        QCOMPARE(page().events(), expected);
        QCOMPARE(saved(QStringLiteral("name_1")).events, expected);
        // Typed after STOP, keys are no longer recorded.
        tap(30);
        QCOMPARE(page().events().size(), expected.size());
        // A recording without a step brings back the steps shown and writes nothing.
        click("macroDeleteRowBtn"); // the last row, not saved
        click("macroRecordBtn");
        click("macroRecordBtn");
        QCOMPARE(page().events(), expected.mid(0, 7));
        QCOMPARE(saved(QStringLiteral("name_1")).events, expected);
    }

    void everyExtendedAndKeypadKeyIsRecordedAsItsOwnKey() {
        // Evdev codes and the key codes they stand for.
        const int keys[][2] = {{96, 229}, {97, 238}, {98, 226}, {99, 55},  {100, 239}, {102, 71},
                               {103, 72}, {104, 73}, {105, 75}, {106, 77}, {107, 79},  {108, 80},
                               {109, 81}, {110, 82}, {111, 83}, {119, 69}, {125, 91},  {126, 92},
                               {127, 93}, {69, 225}, {71, 235}, {72, 236}, {73, 228},  {74, 74},
                               {75, 233}, {76, 76},  {77, 234}, {78, 78},  {79, 230},  {80, 231},
                               {81, 232}, {82, 237}, {83, 224}, {55, 227}};
        // In two recordings: one without delays holds 40 rows.
        for (int half = 0; half < 2; ++half) {
            click("macroRecordBtn");
            QVector<MacroEvent> expected;
            for (int i = 17 * half; i < 17 * (half + 1); ++i) {
                tap(keys[i][0]);
                expected << keyStep(keys[i][1], true) << keyStep(keys[i][1], false);
            }
            click("macroRecordBtn");
            QCOMPARE(page().events(), expected);
        }
    }

    void unreleasedKeysWarnAndTheRecordingIsKept() {
        ModalCloser closer;
        click("macroRecordBtn");
        sendKey(29, true); // Ctrl+C, only C released
        tap(46);
        click("macroRecordBtn");
        QCOMPARE(closer.texts,
                 QStringList{QStringLiteral("ONE OR MORE KEYS HAS NOT BEEN RELEASED.")});
        QCOMPARE(saved(QStringLiteral("name_1")).events.size(), 3);
    }

    void commandTreeInsertsAndKeepsToTheStepLimit() {
        // The new macro, made with nothing shown before, tells its room on the mouse.
        QCOMPARE(page().findChild<QLabel *>(QStringLiteral("macroRecordHint"))->text(),
                 QStringLiteral("Room left on the mouse: 52 step(s)")); // no catalogue
        ModalCloser closer;
        click("macroMouseActionBtn");
        KelTreeWidget *tree = page().listPanel()->tree();
        QVERIFY(tree->isVisible());
        clickItem(tree->buttonItem(0)); // a closed LEFT CLICK only opens
        QVERIFY(page().events().isEmpty());
        clickItem(tree->buttonItem(0));
        QCOMPARE(page().events(), (QVector<MacroEvent>{{0x81, 0, 1}, {0x01, 0, 1}}));
        page().findChild<QCheckBox *>(QStringLiteral("macroRecordDelaysBox"))->click();
        clickItem(tree->buttonItem(2)); // RIGHT CLICK opens, LEFT CLICK closes
        QVERIFY(!tree->buttonItem(0)->isExpanded());
        clickItem(tree->buttonItem(2)->child(0)); // PRESS DOWN, then 10 ms
        KelLineEdit *distance = tree->distanceField(MoveLeft);
        // A screen reader tells the four distance fields apart.
        QVERIFY(distance->accessibleName() != tree->distanceField(MoveRight)->accessibleName());
        clickItem(tree->moveItem(MoveLeft));
        distance->setText(QStringLiteral("10"));
        tree->setCurrentItem(tree->moveItem(MoveLeft)->child(0));
        distance->setFocus();
        QTest::keyClick(distance, Qt::Key_Return);
        QCOMPARE(page().events().mid(2),
                 (QVector<MacroEvent>{{0x81, 0, 2}, {6, 0, 1}, {2, 0, 0xF6}, {6, 0, 1}}));
        QVERIFY(tree->hasFocus()); // Enter inserted and went back to the tree, no further

        // Sixty-three steps fit a button; the next insertion is refused with a message.
        while (page().events().size() < 63)
            click("macroInsertDelayBtn");
        QVERIFY(closer.texts.isEmpty());
        click("macroInsertDelayBtn");
        clickItem(tree->buttonItem(2)); // opens RIGHT CLICK again
        clickItem(tree->buttonItem(2)->child(1));
        QCOMPARE(page().events().size(), 63);
        QCOMPARE(closer.texts.size(), 2);
        QCOMPARE(closer.texts.first(),
                 QStringLiteral("No room for these steps: 0 more fit this macro on the mouse."));

        // Without delays the mouse adds a filler after every fourth step and one at the end:
        // 52 steps fill its 66, and the hint line counts down to them.
        click("macroNewBtn"); // asks whether name_1's steps are saved
        auto *delays = page().findChild<QCheckBox *>(QStringLiteral("macroRecordDelaysBox"));
        if (delays->isChecked())
            delays->click();
        while (page().events().size() < 52)
            clickItem(tree->buttonItem(2)->child(0)); // RIGHT CLICK, PRESS DOWN
        QCOMPARE(closer.texts.size(), 3);
        QCOMPARE(macroRoomLeft(page().events()), 0);
        clickItem(tree->buttonItem(2)->child(0));
        QCOMPARE(page().events().size(), 52);
        QCOMPARE(closer.texts.size(), 4);
        // With one delay among them the fillers go; deleting it brings them back, and the hint
        // says how much of the macro the mouse plays.
        page().SelectRow(0);
        click("macroInsertDelayBtn");
        for (int i = 0; i < 10; ++i)
            clickItem(tree->buttonItem(2)->child(0));
        QCOMPARE(page().events().size(), 63);
        page().SelectRow(1);
        click("macroDeleteRowBtn");
        QCOMPARE(page().findChild<QLabel *>(QStringLiteral("macroRecordHint"))->text(),
                 QStringLiteral("Too long for the mouse: it plays none of it.")); // all held
    }

    void editModeReorderAndCopyBetweenMacros() {
        MacroFile file;
        file.events = {keyStep(30, true), {6, 0, 3}, {2, 0, 0xF6}, keyStep(30, false)};
        QVERIFY(saveMacroFile(QStringLiteral("name_1"), file));
        page().listPanel()->reload(QString());
        QCOMPARE(page().events().size(), 0); // the same macro stays; CANCEL reads the file
        click("macroCancelBtn");
        QCOMPARE(page().events(), file.events);

        QSignalSpy enable(&page(), &MacroDialog::EnableButtonsSignal);
        page().SelectRow(0);
        click("macroEditBtn");
        QVERIFY(page().isEditing());
        QCOMPARE(enable.takeFirst().at(0).toBool(), false);
        tap(48); // B: the press step's key becomes B, and stays a press
        page().SelectRow(1);
        auto *delay = page().findChild<KelLineEdit *>(QStringLiteral("macroEditDelay"));
        QCOMPARE(delay->text(), QStringLiteral("30"));
        tap(31); // a key does not change a delay step
        delay->clear();
        QTest::keyClicks(delay, QStringLiteral("50"));
        page().SelectRow(2);
        auto *move = page().findChild<KelLineEdit *>(QStringLiteral("macroEditMove"));
        move->clear();
        QTest::keyClicks(move, QStringLiteral("7"));
        {
            // B pressed and A released: B would stay down, which is said before it is saved.
            ModalCloser closer;
            click("macroSaveBtn");
            QCOMPARE(closer.texts, QStringList{"ONE OR MORE KEYS HAS NOT BEEN RELEASED."});
        }
        QVERIFY(!page().isEditing());
        QCOMPARE(enable.takeFirst().at(0).toBool(), true);
        const QVector<MacroEvent> edited{
            keyStep(48, true), {6, 0, 5}, {2, 0, 0xF9}, keyStep(30, false)};
        QCOMPARE(saved(QStringLiteral("name_1")).events, edited);
        // A screen reader reads a step as it is shown: "Press", "B" and no delay.
        auto *steps = QAccessible::queryAccessibleInterface(page().findChild<QTableView *>())
                          ->tableInterface();
        QString row;
        for (int column : {1, 0, 2})
            row += steps->cellAt(0, column)->text(QAccessible::Name) + QLatin1Char(' ');
        QCOMPARE(row, QStringLiteral("Press B  "));

        page().SelectRow(0);
        click("macroDownBtn");
        click("macroBottomBtn");
        QCOMPARE(page().currentRow(), 3);
        page().SelectRow(2);
        click("macroTopBtn");
        QCOMPARE(page().events(),
                 (QVector<MacroEvent>{edited[3], edited[1], edited[2], edited[0]}));
        click("macroDeleteRowBtn");
        QCOMPARE(page().currentRow(), 0);
        QCOMPARE(page().events(), (QVector<MacroEvent>{edited[1], edited[2], edited[0]}));
        // Editing cancelled gives back the steps as they were when it began, unsaved ones too.
        page().SelectRow(0);
        click("macroEditBtn");
        delay->clear();
        QTest::keyClicks(delay, QStringLiteral("90"));
        click("macroCancelBtn");
        QCOMPARE(page().events(), (QVector<MacroEvent>{edited[1], edited[2], edited[0]}));

        // Rows cut from one macro are pasted into another after the selected row. Changes not
        // saved are asked about when another macro is chosen: kept with Yes, dropped with No.
        page().SelectRow(1);
        click("macroCutBtn");
        QCOMPARE(page().events(), (QVector<MacroEvent>{edited[1], edited[0]}));
        {
            ModalCloser no(false);
            click("macroNewBtn");
            QCOMPARE(no.texts,
                     QStringList{QStringLiteral("Save the changes to the macro \"name_1\"?")});
        }
        QCOMPARE(saved(QStringLiteral("name_1")).events, edited);
        QCOMPARE(page().currentMacro(), QStringLiteral("name_2"));
        QVERIFY(page().events().isEmpty());
        click("macroPasteBtn");
        {
            // No holds for these steps (a desktop session's end, then the program's, asks
            // once); a change makes them unsaved again.
            ModalCloser no(false);
            page().offerToSave();
            page().offerToSave();
            QCOMPARE(no.texts.size(), 1);
        }
        click("macroPasteBtn");
        QCOMPARE(page().events(), (QVector<MacroEvent>{edited[2], edited[2]}));
        {
            ModalCloser yes;
            page().findChild<QListWidget *>(QStringLiteral("macroList"))->setCurrentRow(0);
            QCOMPARE(yes.texts.size(), 1);
        }
        QCOMPARE(saved(QStringLiteral("name_2")).events,
                 (QVector<MacroEvent>{edited[2], edited[2]}));
        QCOMPARE(page().events(), edited);
    }

    // Without a pointer: Escape held ends a recording and leaves no step of its own; in edit
    // mode the key field takes a key, Tab moves on and Enter saves; the command tree takes
    // Enter.
    void keyboardAloneRecordsEditsAndUsesTheTree() {
        auto type = [this](int evdev, Qt::Key key) {
            for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent e(t, key, Qt::NoModifier, quint32(evdev + 8), 0, 0);
                QCoreApplication::sendEvent(m_page->windowHandle(), &e);
            }
        };
        click("macroRecordBtn");
        tap(30);
        sendKey(1, true);
        QTRY_VERIFY_WITH_TIMEOUT(!page().isRecording(), 5000);
        sendKey(1, false);
        QCOMPARE(page().events(), (QVector<MacroEvent>{keyStep(30, true), keyStep(30, false)}));
        // The list and the table show their first row, with the focus mark over them too.
        auto *list = m_page->findChild<QListWidget *>(QStringLiteral("macroList"));
        auto *table = m_page->findChild<QTableView *>(QStringLiteral("macroEventTable"));
        for (QAbstractItemView *view :
             {static_cast<QAbstractItemView *>(list), static_cast<QAbstractItemView *>(table)}) {
            view->setFocus(Qt::TabFocusReason);
            QTest::keyClick(view, Qt::Key_Shift);
            const QRect row = view->visualRect(view->model()->index(0, 0));
            const QImage look = view->viewport()->grab(row).toImage();
            QSet<QRgb> colours;
            for (int x = 0; x < look.width(); ++x)
                colours.insert(look.pixel(x, look.height() / 2));
            QVERIFY2(colours.size() > 2, view->metaObject()->className());
        }

        page().SelectRow(0);
        click("macroEditBtn");
        type(48, Qt::Key_B);
        type(15, Qt::Key_Tab);
        QVERIFY(page().isEditing());
        {
            ModalCloser closer; // B is left held (A is released)
            type(28, Qt::Key_Return);
            QCOMPARE(closer.texts.size(), 1);
        }
        QVERIFY(!page().isEditing());
        QVERIFY(m_page->focusWidget()->isVisible() && m_page->focusWidget()->isEnabled());
        QCOMPARE(saved(QStringLiteral("name_1")).events.first(), keyStep(48, true));

        click("macroMouseActionBtn");
        KelTreeWidget *tree = page().listPanel()->tree();
        tree->setFocus();
        tree->setCurrentItem(tree->buttonItem(1));
        type(28, Qt::Key_Return); // opens the entry
        QVERIFY(tree->buttonItem(1)->isExpanded());
        type(28, Qt::Key_Return); // a click of the right button
        QCOMPARE(page().events().size(), 4);

        // The default delay and loop count left below their least show what is used.
        for (const auto &[name, least] :
             {std::pair("macroDefaultDelayEdit", "10"), std::pair("macroLoopTimeEdit", "1")}) {
            auto *field = m_page->findChild<QLineEdit *>(QLatin1String(name));
            field->setText(QStringLiteral("0"));
            emit field->editingFinished();
            QCOMPARE(field->text(), QString::fromLatin1(least));
        }
    }

    // Escape let go just after the hold ended the recording, its release still on its way:
    // the macro keeps the steps it had, not a lone release of Escape.
    void escapeLetGoJustAfterTheHold() {
        const QString name = page().currentMacro();
        click("macroRecordBtn");
        tap(30);
        click("macroRecordBtn");
        const QVector<MacroEvent> before = saved(name).events;
        QVERIFY(!before.isEmpty());
        const auto escape = [this](bool press, ulong stamp) {
            QKeyEvent e(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Escape,
                        Qt::NoModifier, 9, 0, 0);
            e.setTimestamp(stamp);
            QCoreApplication::sendEvent(m_page->windowHandle(), &e);
        };
        click("macroRecordBtn");
        escape(true, 1000);
        QTest::qWait(1100); // the hold is a second
        escape(false, 2100);
        QTRY_VERIFY_WITH_TIMEOUT(!page().isRecording(), 5000);
        QCOMPARE(saved(name).events, before);
        QCOMPARE(page().events(), before);
    }

    // With no macro left, steps have nowhere to go: the user is told to make one.
    void stepsWithoutAMacroAreRefused() {
        click("macroDeleteBtn");
        QVERIFY(page().currentMacro().isEmpty());
        const QString told = QStringLiteral("Press NEW to make a macro first.");
        QCOMPARE(page().findChild<QLabel *>(QStringLiteral("macroRecordHint"))->text(), told);
        ModalCloser closer;
        click("macroInsertDelayBtn");
        QCOMPARE(closer.texts, QStringList{told});
        QVERIFY(page().events().isEmpty());
    }

    void renameImportAndGunSets() {
        QSignalSpy renamed(&page(), &MacroDialog::MacroRenamed);
        auto *name = page().findChild<KelLineEdit *>(QStringLiteral("macroNameEdit"));
        QVERIFY(saveMacroFile(QStringLiteral("spray"), MacroFile()));
        name->setText(QStringLiteral("spray"));
        click("macroChangeNameBtn");
        QCOMPARE(page().currentMacro(), QStringLiteral("spray_2"));
        QCOMPARE(renamed.takeFirst(),
                 (QList<QVariant>{QStringLiteral("name_1"), QStringLiteral("spray_2")}));
        {
            ModalCloser closer;
            name->setText(QStringLiteral("a/b"));
            click("macroChangeNameBtn");
            QCOMPARE(closer.texts.size(), 1);
            QCOMPARE(page().currentMacro(), QStringLiteral("spray_2"));
            QVERIFY(renamed.isEmpty());
            // The file exists already in the folder: "Macro Exist!".
            page().listPanel()->importFiles({macroFilePath(QStringLiteral("spray"))});
            QCOMPARE(closer.texts.last(), QStringLiteral("Macro Exist!"));
        }

        // A gun set named like an existing macro gets the next free suffix.
        const auto gunSet = [this](const QString &gunName) {
            QTimer::singleShot(50, this, [gunName] {
                auto *dialog = qobject_cast<KelGunsetDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->findChild<KelLineEdit *>(QStringLiteral("gunNameEdit"))->setText(gunName);
                dialog->verticalBox(0)->setValue(-3);
                dialog->findChild<QToolButton *>(QStringLiteral("msgBoxYesBtn"))->click();
            });
            click("macroGunSetBtn");
        };
        gunSet(QStringLiteral("spray"));
        QCOMPARE(page().currentMacro(), QStringLiteral("spray_3"));
        QCOMPARE(macroListNames(),
                 (QStringList{QStringLiteral("spray_2"), QStringLiteral("spray_3")}));
        const QVector<MacroEvent> gun = page().events();
        QCOMPARE(gun.size(), 4 + 3 * 4);
        QCOMPARE(gun.mid(0, 4),
                 (QVector<MacroEvent>{{1, 0, 1}, {0x81, 0, 1}, {2, 0xFD, 0}, {6, 0, 10}}));
        QVERIFY(!QSettings(macroFilePath(QStringLiteral("spray_3")), QSettings::IniFormat)
                     .contains(QStringLiteral("Setting/WriteSign")));
        {
            // The longest name a file can take is free no more, and with the suffix too long.
            const QString longest(80, QChar(0x914D));
            QVERIFY(saveMacroFile(longest, MacroFile()));
            ModalCloser closer;
            gunSet(longest);
            QCOMPARE(closer.texts,
                     QStringList{QStringLiteral("This name is too long for a macro.")});
            QCOMPARE(page().currentMacro(), QStringLiteral("spray_3"));
            QVERIFY(!macroFileExists(longest + QStringLiteral("_2")));
        }
        // The name field follows the list: CHANGE NAME renames what is selected, to what the
        // field shows.
        QCOMPARE(name->text(), QStringLiteral("spray_3"));
        page().findChild<QListWidget *>(QStringLiteral("macroList"))->setCurrentRow(0);
        QCOMPARE(name->text(), QStringLiteral("spray_2"));
        click("macroChangeNameBtn");
        QCOMPARE(macroListNames().mid(0, 2),
                 (QStringList{QStringLiteral("spray_2"), QStringLiteral("spray_3")}));

        // With fifty macros neither NEW nor GUN SET makes another.
        for (int i = 0; i < kMacroListSize; ++i)
            setMacroListEntry(i, QStringLiteral("m%1").arg(i));
        ModalCloser closer;
        click("macroGunSetBtn");
        click("macroNewBtn");
        QCOMPARE(closer.texts, (QStringList{QStringLiteral("TOO MANY MACROS TO BE CREATE!"),
                                            QStringLiteral("TOO MANY MACROS TO BE CREATE!")}));
        // Nor does a batch import, which says how many files it left out.
        page().findChild<QCheckBox *>(QStringLiteral("macroBatchBox"))->click();
        page().listPanel()->importFiles({macroFilePath(QStringLiteral("spray")), QString()});
        QVERIFY(closer.texts.value(2).startsWith(QStringLiteral("2 of the chosen files were not")));
    }
};

QTEST_MAIN(TestMacroPage)
#include "tst_macropage.moc"
