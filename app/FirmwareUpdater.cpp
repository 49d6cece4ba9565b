#include "FirmwareUpdater.h"

#include "AppDir.h"
#include "KelMessageBox.h"
#include "MouseSession.h"

#include <QDir>
#include <QProcess>

namespace {
// The firmware release this program serves, and the updater that brings a mouse to it.
constexpr uint16_t kCurrentRelease = 0x0902;
const char kUpdater[] = "/skin/mouse/bin/RX10-UPDATE-VER1.3.exe";
} // namespace

FirmwareUpdater::FirmwareUpdater(QWidget *window) : QObject(window), m_window(window) {}

bool FirmwareUpdater::tooOld(const MouseDevices &devices) {
    return devices.device2Release != 0 && devices.device2Release != kCurrentRelease;
}

bool FirmwareUpdater::start(const QString &relativePath) {
    emit pausePolling(true);
    const QString path = AppDir::path() + relativePath;
    if (QProcess::startDetached(path, QStringList())) {
        emit handedOver();
        return true;
    }
    // An updater that cannot run here must not take the program down with it.
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                      tr("The firmware updater could not be started."),
                      QDir::toNativeSeparators(path), m_window);
    box.exec();
    emit pausePolling(false);
    return false;
}

void FirmwareUpdater::offer(const MouseDevices &devices) {
    if (devices.model().mouse2Found) {
        KelMessageBox ask(KelMessageBox::KindQuestion, tr("Warning"),
                          tr("Do you want to upgrade the firmware?"), QString(), m_window);
        if (ask.exec() == QDialog::Accepted)
            start(QString::fromLatin1(kUpdater));
        return;
    }
    KelMessageBox notice(KelMessageBox::KindWarning, tr("Warning"),
                         tr("To update the firmware, please connect to the computer with a cable."),
                         QString(), m_window);
    notice.exec();
}

void FirmwareUpdater::force() {
    KelMessageBox notice(
        KelMessageBox::KindWarning, tr("Warning"),
        tr("The mouse firmware version is too low and will be automatically updated soon."),
        QString(), m_window);
    notice.exec();
    start(QString::fromLatin1(kUpdater));
}
