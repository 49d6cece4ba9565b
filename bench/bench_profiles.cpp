// SPDX-License-Identifier: GPL-3.0-or-later
// The profile commands in the window on a library of 200 profiles, against the virtual
// mouse in process (offscreen): the time from the click to the command done, including
// the send where the command sends. Boxes and file dialogs are answered at once. Also the
// macro page showing a long macro file.
#include "AppConfig.h"
#include "BenchInstallation.h"
#include "HidApi.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "MacroFile.h"
#include "MacroRules.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <functional>

namespace {
QString g_fileAnswer;

// Accepts every box and answers every file dialog with g_fileAnswer.
void answerModals() {
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *box = qobject_cast<KelMessageBox *>(modal)) {
        box->accept();
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
            name->setText(g_fileAnswer);
            static_cast<QDialog *>(dialog)->accept();
        }
    }
}

double timed(const std::function<void()> &command) {
    QElapsedTimer t;
    t.start();
    command();
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchInstallation dir;
    setCurrentProductName(QStringLiteral("TOLV"));
    // A library of 200 profiles made before the program starts.
    {
        ProfileData p;
        makeDefaultProfile(p);
        QStringList names;
        for (int i = 1; i <= 200; ++i) {
            names << QStringLiteral("Library %1").arg(i);
            saveProfileByName(p, names.last());
        }
        writeProfileLibrary(names);
    }
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    setHidApi(&api);
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, &answerModals);
    answerer.start(5);
    QTextStream out(stdout);
    {
        QElapsedTimer start;
        start.start();
        MousecfgWidget window;
        out << "window with a library of " << readProfileLibrary().size()
            << " profiles: " << start.nsecsElapsed() / 1e6 << " ms\n";
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 500)
            app.processEvents();
        auto click = [&](const char *name) {
            return [&window, name] {
                window.findChild<KelPushButton *>(QLatin1String(name))->click();
            };
        };
        auto *nameEdit = window.findChild<KelLineEdit *>(QStringLiteral("nameEdit"));
        QMenu *library = window.findChild<KelPushButton *>(QStringLiteral("libraryBtn"))->menu();
        const QString files = dir.path() + QStringLiteral("/files/");
        QDir().mkpath(files);

        out << "ADD: " << timed(click("addBtn")) << " ms\n";
        out << "COPY: " << timed(click("copyBtn")) << " ms\n";
        out << "rename: " << timed([&] {
            nameEdit->setText(QStringLiteral("Renamed"));
            emit nameEdit->returnPressed();
        }) << " ms\n";
        out << "choose the 199th library profile: "
            << timed([&] { library->actions().at(198)->trigger(); }) << " ms\n";
        out << "DELETE (with its question): " << timed(click("deleteBtn")) << " ms\n";
        g_fileAnswer = files + QStringLiteral("Exported.prof");
        out << "EXPORT: " << timed(click("exportBtn")) << " ms\n";
        out << "IMPORT and send: " << timed(click("importBtn")) << " ms\n";
        g_fileAnswer = files + QStringLiteral("all.conf");
        out << "SAVE: " << timed(click("saveBtn")) << " ms\n";
        out << "LOAD and send: " << timed(click("loadBtn")) << " ms\n";
        out << "RESET and send: " << timed(click("resetBtn")) << " ms\n";
        out << "Reset All and send (all groups): " << timed(click("resetAllBtn")) << " ms\n";
        out << "library now " << readProfileLibrary().size() << " profiles\n";

        // The macro page showing a file of 4000 steps again (its CANCEL reads the file).
        window.setPage(MousecfgWidget::PageMacro);
        click("macroNewBtn")();
        saveMacroFile(QStringLiteral("name_1"),
                      {10, 0, 0, 1, QVector<MacroEvent>(4000, delayEvent(10, 10))});
        out << "show a macro of 4000 steps: " << timed(click("macroCancelBtn")) << " ms\n";
    }
    setHidApi(nullptr);
    return 0;
}
