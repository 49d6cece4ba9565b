// SPDX-License-Identifier: GPL-3.0-or-later
// Sending from the main window when things go wrong: the status poll after a failed send, a
// slot switch the mouse did not take and OK after it, and the program quitting while a slow
// mouse is still being sent to.
#include "AppConfig.h"
#include "AppDir.h"
#include "KelPushButton.h"
#include "ModalCloser.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "WindowRig.h"

#include <QMenu>
#include <QProcess>
#include <QtTest>
#include <cstdio>

namespace {
// Set in the environment of the program this test starts to quit during a send: the
// installation directory to run in.
const char kQuitChild[] = "MOUSECFG_QUIT_DURING_SEND";
// What it quits during: "send" (Apply) or "switch" (a click on the third slot).
const char kQuitDuring[] = "MOUSECFG_QUIT_DURING";
constexpr int kAnswerDelay = 500; // ms; a whole send is some thirty transfers
// Quitting waits at most for the transfer under way, never for the rest of the send; the
// bound leaves room for a loaded machine and a sanitizer build.
constexpr int kQuitBound = 3 * kAnswerDelay + 1500;

// The window against a mouse that answers kAnswerDelay late, so that a whole send (or slot
// switch) takes far longer than the bound on quitting below; once the mouse has its begin mark,
// the tray's "Quit" is chosen and "quit" is written to standard output.
int quitDuringSend() {
    AppDir::setPath(qEnvironmentVariable(kQuitChild));
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    setHidApi(&api);
    MousecfgWidget window;
    QObject::connect(&window, &MousecfgWidget::quitRequested, qApp, &QCoreApplication::quit);
    writeDiffFlag(0);
    mouse.setAnswerDelay(kAnswerDelay);
    QTimer::singleShot(300, &window, [&window] {
        if (qEnvironmentVariable(kQuitDuring) == QLatin1String("switch"))
            window.findChild<KelPushButton *>(QStringLiteral("profileBtn3"))->click();
        else
            window.send(true);
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (mouse.beginMarks() == 0)
            return;
        poll.stop();
        std::printf("quit\n");
        std::fflush(stdout);
        window.trayIcon()->contextMenu()->actions().last()->trigger();
    });
    poll.start(5);
    const int result = QApplication::exec();
    setHidApi(nullptr);
    return result;
}
} // namespace

class TestSendWindow : public QObject {
    Q_OBJECT

private slots:
    // A failed send leaves the status poll going: a stage changed on the mouse afterwards
    // still reaches the window.
    void statusPollGoesOnAfterAFailedSend() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        QTest::qWait(400); // the poll's start after the texts are set is behind us
        rig.mouse.setAnswer(VirtualMouse::Answer::WrongData);
        {
            ModalCloser closer;
            QCOMPARE(sendAndWait(w, true), int(ResultVerifyFailed));
            QCOMPARE(closer.texts.size(), 1);
        }
        rig.mouse.setAnswer(VirtualMouse::Answer::Ok);
        const ProfileData &shown = w.workingSet().activeProfile();
        const quint8 stage = shown.dpi == 4 ? 2 : 4;
        rig.mouse.changeDpiStage(stage);
        QTRY_COMPARE_WITH_TIMEOUT(int(shown.dpi), int(stage), 3000);
    }

    // A slot chosen that the mouse did not take is told, and the next send is whole. OK whose
    // send fails then leaves the window open for another try, as the message asks.
    void aSlotTheMouseDidNotTakeIsTold() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        QSignalSpy quit(&w, &MousecfgWidget::quitRequested); // no tray: OK would end it
        writeDiffFlag(0);
        rig.mouse.setAnswer(VirtualMouse::Answer::WrongData);
        ModalCloser closer;
        const QString failed = QStringLiteral("Send data failed, please try again.");
        QTest::mouseClick(w.findChild<KelPushButton *>(QStringLiteral("profileBtn3")),
                          Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts, QStringList{failed}, 10000);
        QCOMPARE(readDiffFlag(), 1);
        QTest::mouseClick(w.findChild<KelPushButton *>(QStringLiteral("okBtn")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts, (QStringList{failed, failed}), 10000);
        QTRY_VERIFY(!w.sending());
        QVERIFY(quit.isEmpty() && w.isVisible());
    }

    // A slot switch the mouse did not take, told while a send is under way, may have left the
    // mouse's stage table half written: the send ending well does not make the next one partial.
    void aFailedSwitchDuringASendKeepsTheNextSendWhole() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        writeDiffFlag(0);
        rig.mouse.setAnswerDelay(30);
        int result = -1;
        w.send(true, true, [&result](int r, bool) { result = r; });
        QVERIFY(w.sending());
        QVERIFY(QMetaObject::invokeMethod(&w, "onProfileSelected", Q_ARG(quint64, 0), Q_ARG(int, 2),
                                          Q_ARG(int, int(ResultVerifyFailed))));
        QTRY_COMPARE_WITH_TIMEOUT(result, int(ResultDone), 20000);
        QCOMPARE(readDiffFlag(), 1);
    }

    // "Quit" during a send or slot switch to a slow mouse ends the program without waiting for
    // it, and the next send is whole because the mouse may hold only part of it.
    void quitDuringASlowSendDoesNotWaitForIt_data() {
        QTest::addColumn<QString>("during");
        QTest::newRow("send") << QStringLiteral("send");
        QTest::newRow("slot switch") << QStringLiteral("switch");
    }
    void quitDuringASlowSendDoesNotWaitForIt() {
        QFETCH(QString, during);
        TestAppDir dir;
        dir.installData(QStringLiteral("DefaultProfile.bin"));
        dir.installData(QStringLiteral("Configs/Config.ini"));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kQuitChild), dir.path());
        env.insert(QString::fromLatin1(kQuitDuring), during);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForStarted(5000));
        QByteArray out;
        while (!out.contains("quit") && child.waitForReadyRead(30000))
            out += child.readAllStandardOutput();
        QVERIFY2(out.contains("quit"), out.constData());
        QElapsedTimer clock;
        clock.start();
        const bool ended = child.waitForFinished(10 * kQuitBound);
        const qint64 elapsed = clock.elapsed();
        if (!ended)
            child.kill();
        QVERIFY2(ended, "the program hangs after Quit");
        qInfo("ended %lld ms after Quit", elapsed);
        QVERIFY2(elapsed < kQuitBound, qPrintable(QString::number(elapsed)));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QSettings(dir.file(QStringLiteral("Configs/Config.ini")), QSettings::IniFormat)
                     .value(QStringLiteral("Config/Diff"))
                     .toInt(),
                 1);
    }
};

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kQuitChild))
        return quitDuringSend();
    TestSendWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_send_window.moc"
