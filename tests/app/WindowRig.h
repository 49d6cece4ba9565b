// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window in process with the virtual mouse plugged in: an installation in a
// temporary directory, the in-process HID backend, and the window itself.

#include "HidApi.h"
#include "KelPushButton.h"
#include "MousecfgWidget.h"
#include "TestAppDir.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>
#include <memory>

// Runs what starts a send (a click on Apply, a profile command) and waits for the send to
// end: its result, or -1 when none ended in time.
inline int sendingBy(MousecfgWidget &w, const std::function<void()> &start) {
    QSignalSpy done(&w, &MousecfgWidget::sendDone);
    start();
    if (done.isEmpty() && !done.wait(60000))
        return -1;
    return done.first().first().toInt();
}

// Turns the status poll off and returns once the session has done so and the reports it made
// before have reached the window: no report of the mouse's own comes after.
inline void stopPolling(MousecfgWidget &w) {
    w.setPolling(false);
    // The session carries requests out in order: once this one ran, the poll is off.
    QMetaObject::invokeMethod(
        w.session(), [] {}, Qt::BlockingQueuedConnection);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// A send as the window's commands make it (the pages are not collected), waited for.
inline int sendAndWait(MousecfgWidget &w, bool force = false) {
    return sendingBy(w, [&w, force] { w.send(force); });
}

// Clicks the button of profile slot `index` and waits until the mouse has made it active.
inline void chooseSlot(MousecfgWidget &w, VirtualMouse &mouse, int index) {
    QTest::mouseClick(w.findChild<KelPushButton *>(QStringLiteral("profileBtn%1").arg(index + 1)),
                      Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(mouse.activeProfile(), index, 5000);
}

// An installation with a mouse plugged in (both links unless told otherwise).
struct WindowRig {
    WindowRig() : api(mouse) {
        dir.installData(QStringLiteral("DefaultProfile.bin"));
        dir.installData(QStringLiteral("Configs/Config.ini"));
        setHidApi(&api);
    }
    ~WindowRig() {
        window.reset();
        setHidApi(nullptr);
    }
    MousecfgWidget &open() {
        window = std::make_unique<MousecfgWidget>();
        QTest::qWait(300); // the start-up checks run 200 ms after construction
        return *window;
    }
    TestAppDir dir;
    VirtualMouse mouse;
    VirtualHidApi api;
    std::unique_ptr<MousecfgWidget> window;
};
