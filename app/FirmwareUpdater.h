// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The firmware updater the model data names: offered by the firmware button to a mouse on its
// cable, and started on its own when the mouse on the cable has another firmware release. The
// updater named is a Windows program; elsewhere a native build of it beside it (the same name
// without ".exe") is started instead, and without one the user is told where the Windows
// updater lies, in a box that leaves the window free.

#include <QObject>
#include <QPointer>

struct MouseDevices;
class QDialog;
class QWidget;

class FirmwareUpdater : public QObject {
    Q_OBJECT

public:
    // Boxes are shown over window.
    explicit FirmwareUpdater(QWidget *window);

    // The mouse on the cable has a firmware release other than the one this program serves.
    static bool tooOld(const MouseDevices &devices);
    // The firmware button: asks, then starts the updater; without a cable, says to plug one.
    // With only the Windows updater, says so and where it lies.
    void offer(const MouseDevices &devices);
    // Tells the user the firmware will be updated, then starts the updater; with only the
    // Windows updater, says that the mouse needs an update and where the updater lies.
    void force();
    // An updater started by this program still runs.
    bool updating() const { return m_updater >= 0; }
    // Waits for it, with the program's event loop ended (asked to quit meanwhile): the program
    // keeps its lock until then.
    void waitUntilEnded();

signals:
    // The program should let the mouse go (true) before the updater starts, so that nothing
    // of ours reaches the mouse between the updater's commands, or take it back (false) when
    // the updater could not start.
    void mouseReleased(bool released);
    // The updater runs and needs the mouse to itself: the program has let it go and steps out
    // of sight. It keeps its single-instance lock, so that no command line or second window
    // takes the mouse while its firmware is written, and ends with updaterEnded().
    void handedOver();
    void updaterEnded();

private:
    bool start(const QString &path);
    // Says that the updater runs on Windows only and where it lies, without a modal loop; a
    // notice still open is brought up again instead of a second one.
    void tellWindowsOnly(const QString &text, const QString &path);

    QWidget *m_window;
    QPointer<QDialog> m_notice;
    int m_updater = -1; // the running updater's process descriptor
};
