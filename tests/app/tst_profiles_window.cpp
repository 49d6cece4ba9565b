// SPDX-License-Identifier: GPL-3.0-or-later
// The profile commands in the window, as a user gives them: the library menu of a fresh
// installation, ADD, COPY, rename by Enter, DELETE with its question, the indicators,
// import of a profile file that is then sent to the mouse, and a configuration file with a
// name that cannot be a file name.
#include "AppConfig.h"
#include "DeviceCommands.h"
#include "KelColorWindow.h"
#include "KelLineEdit.h"
#include "KelPushButton.h"
#include "KelSlider.h"
#include "ModalCloser.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"
#include "SensorTables.h"
#include "WindowRig.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>

namespace {
// Answers the next file dialog with a path, as a user typing it and pressing Enter.
class FileAnswer : public QObject {
public:
    explicit FileAnswer(const QString &path) : m_path(path) {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            auto *name =
                dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!name)
                return;
            // Typed as a whole path: the dialog's view of its folder may still be loading.
            name->setText(m_path);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog checks the path
            if (!dialog->isVisible())
                m_timer.stop();
        });
        m_timer.start();
    }

private:
    QString m_path;
    QTimer m_timer;
};

KelPushButton *button(MousecfgWidget &w, const char *name) {
    return w.findChild<KelPushButton *>(QLatin1String(name));
}

QStringList menuTexts(MousecfgWidget &w) {
    QStringList texts;
    for (QAction *a : button(w, "libraryBtn")->menu()->actions())
        texts << a->text();
    return texts;
}
} // namespace

class TestProfilesWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowRig> m_rig;

private slots:
    void initTestCase() {
        m_rig = std::make_unique<WindowRig>();
        m_rig->open();
    }
    void cleanupTestCase() { m_rig.reset(); }

    void freshInstallationListsItsProfiles() {
        MousecfgWidget &w = *m_rig->window;
        QCOMPARE(menuTexts(w),
                 QStringList({"Profile 1", "Profile 2", "Profile 3", "Profile 4", "Profile 5"}));
        QCOMPARE(readProfileLibrary().size(), 5);
        // No stray shared folder was made.
        QVERIFY(!QFileInfo::exists(m_rig->dir.file(QStringLiteral("Configs/Profile"))));
        // An indicator selects its slot, here and on the mouse.
        QTest::mouseClick(button(w, "profileBtn3"), Qt::LeftButton);
        QCOMPARE(int(w.workingSet().ProfileID), 2);
        QTRY_COMPARE(m_rig->mouse.activeProfile(), 2);
        QVERIFY(button(w, "profileBtn3")->isChecked());
        QTest::mouseClick(button(w, "profileBtn1"), Qt::LeftButton);
        QCOMPARE(int(w.workingSet().ProfileID), 0);
    }

    void addCopyRenameDelete() {
        MousecfgWidget &w = *m_rig->window;
        auto *name = w.findChild<KelLineEdit *>(QStringLiteral("nameEdit"));
        // An edit not applied: ADD asks before it is dropped, and "No" keeps it.
        auto *sleep =
            w.findChild<KelColorWindow *>()->findChild<KelSlider *>(QStringLiteral("sleepSlider"));
        const int edited = sleep->value() == 7 ? 4 : 7;
        sleep->setValue(edited);
        const QString first = w.workingSet().profileNames[0];
        {
            ModalCloser closer(false);
            QTest::mouseClick(button(w, "addBtn"), Qt::LeftButton);
            QCOMPARE(closer.texts, QStringList{"The changes to this profile have not been applied "
                                               "and will be lost. Go on?"});
        }
        QCOMPARE(w.workingSet().profileNames[0], first);
        QCOMPARE(sleep->value(), edited);
        writeDiffFlag(0);
        {
            ModalCloser closer;
            QTest::mouseClick(button(w, "addBtn"), Qt::LeftButton);
        }
        QCOMPARE(w.workingSet().profileNames[0], QStringLiteral("Profile 6"));
        QCOMPARE(name->text(), QStringLiteral("Profile 6"));
        // The slot holds another profile than the mouse: the next send sends everything.
        QCOMPARE(readDiffFlag(), 1);
        QTest::mouseClick(button(w, "copyBtn"), Qt::LeftButton);
        QCOMPARE(w.workingSet().profileNames[0], QStringLiteral("Profile 6 copy"));

        // Rename by Enter; a name that cannot be a file name is refused and put back.
        {
            ModalCloser closer;
            name->setText(QStringLiteral("a/b"));
            QTest::keyClick(name, Qt::Key_Return);
            QCOMPARE(closer.texts, QStringList{"This name cannot be used for a profile."});
        }
        QCOMPARE(name->text(), QStringLiteral("Profile 6 copy"));
        name->setText(QStringLiteral(" Sniping ")); // spaces at the ends go
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(w.workingSet().profileNames[0], QStringLiteral("Sniping"));
        QVERIFY(menuTexts(w).contains(QStringLiteral("Sniping")));
        QVERIFY(!menuTexts(w).contains(QStringLiteral("Profile 6 copy")));

        // DELETE asks first; "No" keeps everything.
        {
            ModalCloser closer(false);
            QTest::mouseClick(button(w, "deleteBtn"), Qt::LeftButton);
            QCOMPARE(closer.texts, QStringList{"Are you sure you want delete this profile?"});
        }
        QCOMPARE(w.workingSet().profileNames[0], QStringLiteral("Sniping"));
        {
            ModalCloser closer;
            QTest::mouseClick(button(w, "deleteBtn"), Qt::LeftButton);
        }
        // Sniping was the last name: the one before it.
        QCOMPARE(w.workingSet().profileNames[0], QStringLiteral("Profile 6"));
        QVERIFY(!QFileInfo::exists(profileFilePath(QStringLiteral("Sniping"))));
        QCOMPARE(readProfileLibrary(), menuTexts(w));

        // Quit without Apply and start again: the slot keeps the name it was given, and the
        // deleted profile stays gone.
        m_rig->window.reset();
        MousecfgWidget &again = m_rig->open();
        QCOMPARE(again.workingSet().profileNames[0], QStringLiteral("Profile 6"));
        QVERIFY(!QFileInfo::exists(profileFilePath(QStringLiteral("Sniping"))));
        QVERIFY(!menuTexts(again).contains(QStringLiteral("Sniping")));
        QCOMPARE(readProfileLibrary(), menuTexts(again));
        again.show();

        // A name another slot holds is refused from the menu.
        {
            ModalCloser closer;
            button(again, "libraryBtn")->menu()->actions().at(1)->trigger();
            QCOMPARE(closer.texts, QStringList{"Profile is Already Used!"});
        }
        QCOMPARE(again.workingSet().profileNames[0], QStringLiteral("Profile 6"));
    }

    // Another profile comes into the slot while DELETE asks (a plug, another program's
    // command): "Yes" was said to the profile shown, and neither is deleted.
    void deleteAnsweredForAProfileReplacedMeanwhile() {
        MousecfgWidget &w = *m_rig->window;
        const QString asked = w.workingSet().profileNames[0];
        QAction *free = nullptr;
        for (QAction *a : button(w, "libraryBtn")->menu()->actions()) {
            if (a->text() == QLatin1String("Profile 1"))
                free = a;
        }
        QVERIFY(free && asked != free->text());
        QTimer meanwhile;
        meanwhile.setInterval(10);
        int boxes = 0;
        connect(&meanwhile, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (boxes++ == 0)
                free->trigger();
            box->accept();
        });
        meanwhile.start();
        QTest::mouseClick(button(w, "deleteBtn"), Qt::LeftButton);
        QCOMPARE(boxes, 1);
        QCOMPARE(w.workingSet().profileNames[0], QStringLiteral("Profile 1"));
        QVERIFY(QFileInfo::exists(profileFilePath(asked)));
        QVERIFY(QFileInfo::exists(profileFilePath(QStringLiteral("Profile 1"))));
        QCOMPARE(readProfileLibrary(), menuTexts(w));
    }

    // Cancel drops what was not sent, in every slot and in the mouse-wide options.
    void cancelDropsUnsentEdits() {
        MousecfgWidget &w = *m_rig->window;
        const ProfileSet before = w.workingSet();
        w.workingSet().profiles[0].dpiInfo[3].x += 5;
        w.workingSet().profiles[4].pollrate = 2;
        w.workingSet().Jitter ^= 1;
        QTest::mouseClick(button(w, "cancelBtn"), Qt::LeftButton);
        QVERIFY(w.workingSet() == before);
        w.show();
    }

    // An imported profile file becomes the slot's profile and reaches the mouse.
    void importedProfileIsSent() {
        MousecfgWidget &w = *m_rig->window;
        ProfileData p;
        makeDefaultProfile(p);
        p.dpiInfo[1].x = 30;
        p.dpiInfo[1].y = 44;
        const QString file = m_rig->dir.file(QStringLiteral("Imported.prof"));
        writeProfile(0, p, file);
        writeModelName(file, QStringLiteral("TOLV"));
        w.workingSet().profiles[0].dpi = 1;
        {
            FileAnswer answer(file);
            ModalCloser closer;
            QCOMPARE(
                sendingBy(w, [&w] { QTest::mouseClick(button(w, "importBtn"), Qt::LeftButton); }),
                0);
            QVERIFY(closer.texts.isEmpty());
        }
        QCOMPARE(w.workingSet().profileNames[0], QStringLiteral("Imported"));
        QVERIFY(QFileInfo::exists(profileFilePath(QStringLiteral("Imported"))));
        const std::vector<uint8_t> dpi = m_rig->mouse.table(MouseTable::Dpi);
        uint8_t stage[4] = {};
        EncodeDpiStage(sensorCode(), 30, 44, 0, stage); // the virtual mouse reports link 0
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(dpi.data()) + 7, 4),
                 QByteArray(reinterpret_cast<const char *>(stage), 4));
        // The same file again: it is in the library already.
        {
            FileAnswer answer(file);
            ModalCloser closer;
            QTest::mouseClick(button(w, "importBtn"), Qt::LeftButton);
            QCOMPARE(closer.texts, QStringList{"Profile Exist!"});
        }
    }

    // A configuration whose slot name holds "/": the profile takes a name that can be a file
    // name, and survives a restart of the program.
    void configurationWithAnUnsafeName() {
        MousecfgWidget &w = *m_rig->window;
        const QString conf = m_rig->dir.file(QStringLiteral("saved.conf"));
        w.workingSet().profiles[1].dpiInfo[0].x = 21;
        {
            FileAnswer answer(conf);
            QTest::mouseClick(button(w, "saveBtn"), Qt::LeftButton);
        }
        QCOMPARE(readModelName(conf), QStringLiteral("TOLV"));
        QSettings(conf, QSettings::IniFormat)
            .setValue(QStringLiteral("Config/Profile2"), QStringLiteral("x/y"));
        {
            FileAnswer answer(conf);
            ModalCloser closer;
            QCOMPARE(
                sendingBy(w, [&w] { QTest::mouseClick(button(w, "loadBtn"), Qt::LeftButton); }), 0);
            // The second slot's edit was never applied: loading asks before it goes.
            QCOMPARE(closer.texts,
                     (QStringList{"The changes to the profiles have not been applied and will be "
                                  "lost. Go on?",
                                  "A profile name in the file cannot be used as a file name or is "
                                  "given to two slots; that profile was renamed."}));
        }
        QCOMPARE(w.workingSet().profileNames[1], QStringLiteral("x_y"));
        m_rig->window.reset();
        const ProfileSet &restarted = m_rig->open().workingSet();
        QCOMPARE(restarted.profileNames[1], QStringLiteral("x_y"));
        QCOMPARE(restarted.profiles[1].dpiInfo[0].x, 21u);
    }
};

QTEST_MAIN(TestProfilesWindow)
#include "tst_profiles_window.moc"
