// SPDX-License-Identifier: GPL-3.0-or-later
// Apply of one changed DPI stage, end to end in the window: from the send's start to its
// end told back to the window, against the virtual mouse in process (offscreen).
#include "BenchInstallation.h"
#include "HidApi.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <vector>

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchInstallation dir;
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    setHidApi(&api);
    std::vector<double> times;
    {
        MousecfgWidget window;
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 500)
            app.processEvents();
        for (int run = 0; run < 9; ++run) {
            window.workingSet().activeProfile().dpiInfo[2].y = uint32_t(40 + run);
            bool done = false;
            const QMetaObject::Connection c =
                QObject::connect(&window, &MousecfgWidget::sendDone, [&done] { done = true; });
            QElapsedTimer t;
            t.start();
            window.send();
            while (!done)
                app.processEvents(QEventLoop::WaitForMoreEvents);
            times.push_back(t.nsecsElapsed() / 1e6);
            QObject::disconnect(c);
        }
    }
    setHidApi(nullptr);
    std::sort(times.begin(), times.end());
    QTextStream(stdout) << "apply of one changed DPI stage: median " << times[times.size() / 2]
                        << " ms, min " << times.front() << " ms, max " << times.back()
                        << " ms over " << times.size() << " applies (" << mouse.frameCount(0x02) / 9
                        << " DPI frames each)\n";
    return 0;
}
