// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder on a real X server: keys typed with xdotool by their X keycodes reach the
// macro page as the keys they are (extended and keypad keys told apart), and a key held
// long enough to repeat is recorded once, also under load. Run offscreen, the program starts itself
// again on a private Xvfb.
#include "KelPushButton.h"
#include "KeyCapture.h"
#include "KeyStep.h"
#include "KeyTable.h"
#include "MacroDialog.h"
#include "TestAppDir.h"

#include <QAbstractButton>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <unistd.h>

namespace {
const char *const kChild = "MOUSECFG_MACRO_X11_CHILD";

bool xdotool(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    return p.waitForFinished(10000) && p.exitCode() == 0;
}
} // namespace

class TestMacroX11 : public QObject {
    Q_OBJECT

private slots:
    void typedKeysAreRecordedAsTheirKeys() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs xvfb-run and xdotool");
        TestAppDir dir;
        dir.installData(QStringLiteral("DefaultProfile.bin"));
        MacroDialog page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.findChild<KelPushButton *>(QStringLiteral("macroNewBtn"))->click();
        page.findChild<KelPushButton *>(QStringLiteral("macroRecordBtn"))->click();
        QVERIFY(page.isRecording());
        const QString window = QString::number(page.winId());
        QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}));
        QTRY_VERIFY(page.isActiveWindow());

        // X keycodes (evdev + 8): keypad Enter, right Ctrl, right Alt, Insert, keypad 7,
        // keypad 0; then A held for a second, long enough for the server to repeat it.
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("104"), QStringLiteral("105"),
                         QStringLiteral("108"), QStringLiteral("118"), QStringLiteral("79"),
                         QStringLiteral("90")}));
        QVERIFY(xdotool({QStringLiteral("keydown"), QStringLiteral("38"), QStringLiteral("sleep"),
                         QStringLiteral("1"), QStringLiteral("keyup"), QStringLiteral("38")}));
        const QVector<int> codes{229, 238, 239, 82, 235, 237};
        QVector<MacroEvent> expected;
        for (int code : codes)
            expected << keyStep(code, true) << keyStep(code, false);
        expected << keyStep(30, true) << keyStep(30, false);
        QTRY_COMPARE(page.events().size(), expected.size());
        QTest::qWait(100);
        page.findChild<KelPushButton *>(QStringLiteral("macroRecordBtn"))->click();
        QCOMPARE(page.events(), expected);

        // Again with delays recorded and the machine busy (six busy loops): a key held past
        // its repeat is still one press and one release, hold after hold.
        page.findChild<QAbstractButton *>(QStringLiteral("macroRecordDelaysBox"))->click();
        page.findChild<KelPushButton *>(QStringLiteral("macroRecordBtn"))->click();
        QVERIFY(page.isRecording() && page.events().isEmpty());
        std::vector<std::unique_ptr<QProcess>> busy;
        for (int i = 0; i < 6; ++i) {
            busy.push_back(std::make_unique<QProcess>());
            busy.back()->start(QStringLiteral("sh"),
                               {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        }
        const int holds = 3;
        for (int i = 0; i < holds; ++i) {
            // B (X keycode 56) held for one and a half seconds.
            QVERIFY(
                xdotool({QStringLiteral("keydown"), QStringLiteral("56"), QStringLiteral("sleep"),
                         QStringLiteral("1.5"), QStringLiteral("keyup"), QStringLiteral("56")}));
        }
        for (auto &p : busy) {
            p->kill();
            p->waitForFinished();
        }
        QTRY_COMPARE(page.events().size(), 4 * holds - 1); // key rows and the delays between
        QTest::qWait(KeyCapture::kReleaseHoldMs + 100);
        page.findChild<KelPushButton *>(QStringLiteral("macroRecordBtn"))->click();
        QVector<MacroEvent> keys;
        for (const MacroEvent &e : page.events()) {
            if ((e.Map & 0x7F) == MacroKindKey)
                keys << e;
        }
        QVector<MacroEvent> held;
        for (int i = 0; i < holds; ++i)
            held << keyStep(48, true) << keyStep(48, false);
        QCOMPARE(keys, held);
        QCOMPARE(page.events().size(), 4 * holds - 1);
    }
};

int main(int argc, char *argv[]) {
    // Offscreen there is no keyboard to type on: start again on a private X server.
    if (!qEnvironmentVariableIsSet(kChild) &&
        !QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty() &&
        !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        qputenv(kChild, "1");
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        // No session bus: on a private X server one would be autolaunched, outliving the test.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        std::vector<char *> args{const_cast<char *>("xvfb-run"), const_cast<char *>("-a"),
                                 const_cast<char *>("-s"),
                                 const_cast<char *>("-screen 0 1280x800x24 -noreset")};
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
    }
    QApplication app(argc, argv);
    TestMacroX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_macro_x11.moc"
