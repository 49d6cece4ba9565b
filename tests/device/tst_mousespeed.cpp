// The profile's pointer speed handed to the host: taken from the download table, or from
// the working set while nothing has been downloaded.

#include "DeviceCommands.h"
#include "FakeHid.h"
#include "SystemMouseSpeed.h"
#include "TestAppDir.h"

#include "ProfileData.h"

#include <QtTest>

// Skips the test function without an X server, unless the run was meant to have one.
#define REQUIRE_DISPLAY()                                                                          \
    do {                                                                                           \
        if (qgetenv("DISPLAY").isEmpty()) {                                                        \
            if (qEnvironmentVariableIsSet("MOUSECFG_EXPECT_DISPLAY"))                              \
                QFAIL("DISPLAY is not set");                                                       \
            QSKIP("no X display (the ctest variant under xvfb-run covers this)");                  \
        }                                                                                          \
    } while (false)

class TestMouseSpeed : public QObject {
    Q_OBJECT

private slots:
    void init() { m_dir.reset(new TestAppDir); }
    void cleanup() { m_dir.reset(); }

    void withoutDisplay() {
        const QByteArray saved = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        workingSet().activeProfile().mousespeed = 5;
        QCOMPARE(int(GetSystemMouseSpeed()), 10);
        QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :1");
        SetSystemMouseSpeed();
        QCOMPARE(int(GetSystemMouseSpeed()), 10);
        if (!saved.isEmpty())
            qputenv("DISPLAY", saved);
    }

    // The functions below need an X server; they run in declaration order, the download
    // last.
    void workingSetBeforeAnyDownload() {
        REQUIRE_DISPLAY();
        QVERIFY(!downloadTableFilled());
        ProfileSet &w = workingSet();
        w.ProfileID = 2;
        w.profiles[2].mousespeed = 7;
        QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :0");
        SetSystemMouseSpeed();
        QCOMPARE(int(GetSystemMouseSpeed()), 7);
    }

    void zeroLeavesTheHostAlone() {
        REQUIRE_DISPLAY();
        workingSet().activeProfile().mousespeed = 0;
        QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :2");
        SetSystemMouseSpeed();
        QCOMPARE(int(GetSystemMouseSpeed()), 7);
        workingSet().activeProfile().mousespeed = 21;
        QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :2");
        SetSystemMouseSpeed();
        QCOMPARE(int(GetSystemMouseSpeed()), 7);
    }

    void downloadTableAfterADownload() {
        REQUIRE_DISPLAY();
        auto config = std::make_unique<ProfileSet>();
        config->ProfileID = 1;
        config->profiles[1].mousespeed = 15;
        {
            ScriptedDevice dev;
            QCOMPARE(DownloadProfile(*config, 0), 0);
        }
        workingSet().activeProfile().mousespeed = 3; // not yet downloaded
        QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :0");
        SetSystemMouseSpeed();
        QCOMPARE(int(GetSystemMouseSpeed()), 15);
    }

private:
    std::unique_ptr<TestAppDir> m_dir;
};

QTEST_GUILESS_MAIN(TestMouseSpeed)
#include "tst_mousespeed.moc"
