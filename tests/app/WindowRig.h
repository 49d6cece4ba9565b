#pragma once
// The main window in process with the virtual mouse plugged in: an installation in a
// temporary directory, the in-process HID backend, and the window itself.

#include "HidApi.h"
#include "MousecfgWidget.h"
#include "TestAppDir.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"

#include <QtTest>
#include <memory>

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
