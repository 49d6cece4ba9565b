// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirmwareUpdater.h"

#include "AppDir.h"
#include "KelMessageBox.h"
#include "MouseSession.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace {
// The firmware release this program serves, and the updater that brings a mouse to it.
constexpr uint16_t kCurrentRelease = 0x0902;
const char kUpdater[] = "/skin/mouse/bin/RX10-UPDATE-VER1.3.exe";

// The updater as this system can run it.
struct Updater {
    QString path;
    bool runsHere = true;
};

// The updater named, or where that is a Windows program on another system, a native one beside
// it with the same name less ".exe"; without that, the Windows one, which cannot run here.
Updater locateUpdater() {
    const QFileInfo named(AppDir::path() + QLatin1String(kUpdater));
#ifdef Q_OS_WIN
    return {named.filePath(), true};
#else
    if (named.suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) != 0)
        return {named.filePath(), true};
    const QFileInfo native(named.dir().filePath(named.completeBaseName()));
    if (native.isFile() && native.isExecutable())
        return {native.filePath(), true};
    return {named.filePath(), false};
#endif
}
} // namespace

FirmwareUpdater::FirmwareUpdater(QWidget *window) : QObject(window), m_window(window) {}

bool FirmwareUpdater::tooOld(const MouseDevices &devices) {
    return devices.device2Release != 0 && devices.device2Release != kCurrentRelease;
}

bool FirmwareUpdater::start(const QString &path) {
    emit mouseReleased(true);
    qint64 pid = 0;
    if (QProcess::startDetached(path, QStringList(), QString(), &pid)) {
        // Started detached, it outlives this program if need be. It is watched through a
        // descriptor of the process itself, not by its id (which another process may get once
        // it ended): the descriptor reads once the process has ended.
        m_updater = pid > 0 ? int(::syscall(SYS_pidfd_open, pid_t(pid), 0)) : -1;
        emit handedOver();
        if (m_updater < 0) {
            // Gone already, or no way to watch it (a kernel before 5.3): ended as before.
            QTimer::singleShot(0, this, &FirmwareUpdater::updaterEnded);
            return true;
        }
        auto *ended = new QSocketNotifier(m_updater, QSocketNotifier::Read, this);
        connect(ended, &QSocketNotifier::activated, this, [this, ended] {
            ended->setEnabled(false);
            ::close(std::exchange(m_updater, -1));
            emit updaterEnded();
        });
        return true;
    }
    // An updater that cannot run here must not take the program down with it.
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                      tr("The firmware updater could not be started."),
                      QDir::toNativeSeparators(path), m_window);
    box.exec();
    emit mouseReleased(false);
    return false;
}

void FirmwareUpdater::tellWindowsOnly(const QString &text, const QString &path) {
    if (!m_notice) {
        m_notice = new KelMessageBox(KelMessageBox::KindWarning, tr("Warning"), text,
                                     QDir::toNativeSeparators(path), m_window);
        m_notice->setAttribute(Qt::WA_DeleteOnClose);
        // The path can be copied to take the updater to a Windows computer.
        if (auto *label = m_notice->findChild<QLabel *>(QStringLiteral("msgBoxInfoLabel2")))
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_notice->show();
    m_notice->raise();
}

void FirmwareUpdater::offer(const MouseDevices &devices) {
    const Updater updater = locateUpdater();
    if (!updater.runsHere) {
        tellWindowsOnly(tr("The firmware updater runs on Windows only:"), updater.path);
        return;
    }
    if (devices.model().mouse2Found) {
        KelMessageBox ask(KelMessageBox::KindQuestion, tr("Warning"),
                          tr("Do you want to upgrade the firmware?"), QString(), m_window);
        if (ask.exec() == QDialog::Accepted)
            start(updater.path);
        return;
    }
    KelMessageBox notice(KelMessageBox::KindWarning, tr("Warning"),
                         tr("To update the firmware, please connect to the computer with a cable."),
                         QString(), m_window);
    notice.exec();
}

void FirmwareUpdater::force() {
    const Updater updater = locateUpdater();
    if (!updater.runsHere) {
        tellWindowsOnly(tr("This mouse needs a firmware update. The firmware updater runs on "
                           "Windows only:"),
                        updater.path);
        return;
    }
    KelMessageBox notice(
        KelMessageBox::KindWarning, tr("Warning"),
        tr("The mouse firmware version is too low and will be automatically updated soon."),
        QString(), m_window);
    // Not when the box was ended by the program quitting (a signal, the session's end).
    if (notice.exec() == QDialog::Accepted)
        start(updater.path);
}

void FirmwareUpdater::waitUntilEnded() {
    if (m_updater < 0)
        return;
    pollfd ended{m_updater, POLLIN, 0};
    while (::poll(&ended, 1, -1) < 0 && errno == EINTR) {
    }
}
