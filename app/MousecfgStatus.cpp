// The main window's traffic with the mouse: sending, the status thread and what it
// reports, hot-plug and the choice of model, firmware updaters and the on-screen display.
#include "AppConfig.h"
#include "AppDir.h"
#include "DeviceMonitor.h"
#include "DeviceThreads.h"
#include "HidTransport.h"
#include "InterfaceColour.h"
#include "KelColorWindow.h"
#include "KelDPIWindow.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "KelProcessDialog.h"
#include "KelProcessbar.h"
#include "KelPushButton.h"
#include "KelReportRate.h"
#include "LanguageFont.h"
#include "LightingRules.h"
#include "ModelDescriptor.h"
#include "MouseRequests.h"
#include "MousecfgWidget.h"
#include "OsdChannel.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "Scale.h"
#include "SystemMouseSpeed.h"

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {
// The release number of the cable device that needs no firmware update.
constexpr uint16_t kCurrentRelease = 0x0902;
const char kUpdaterA[] = "/skin/mouse/bin/RX10-UPDATE-VER1.3.exe";

bool modelPresent(const DeviceMatchEntry &e) {
    return (e.mouse1Found && e.command1Found) || (e.mouse2Found && e.command2Found);
}

// How long a program that is quitting waits for a send before leaving it behind.
constexpr unsigned long kQuitWaitMs = 400;

// The program is quitting while a send still talks to a mouse that answers slowly or not
// at all. The send thread holds the device, so closing it (and with it the normal end of
// the program) would wait for the mouse: the send is left behind and the process ends now.
// Nothing is half written: the thread writes no more files, and the next send is whole
// because the mouse may hold only part of this one.
[[noreturn]] void abandonSend(KelProcessThread &sender) {
    sender.abandon();
    writeDiffFlag(1);
    qDebug("send abandoned: the program ends while the mouse is busy");
    std::fflush(nullptr);
    ::_exit(0);
}

int presentModels() {
    const DeviceMatchTable &table = deviceMatchTable();
    int count = 0;
    for (uint32_t i = 0; i < table.count; ++i)
        count += modelPresent(table.entries[i]) ? 1 : 0;
    return count;
}
} // namespace

// ---------------------------------------------------------------- status thread

void MousecfgWidget::stopBatteryThread() {
    // The download calls this on the send thread. The work is done on the calling thread:
    // the window's thread may be waiting for that very send to end.
    QMutexLocker lock(&m_batteryMutex);
    endBatteryThread();
}

void MousecfgWidget::endBatteryThread() {
    KelGetBatteryThread *ending = m_batteryThread;
    if (!ending)
        return;
    m_batteryThread = nullptr;
    // Stopped and waited for, so that no poll ever uses a handle that is being closed.
    ending->stop();
    ending->wait();
    if (QThread::currentThread() == thread())
        delete ending;
    else
        ending->deleteLater();
}

void MousecfgWidget::startBatteryThread() {
    QMutexLocker lock(&m_batteryMutex);
    endBatteryThread();
    auto *started = new KelGetBatteryThread;
    // Made on the send thread too; it belongs to the window's thread like the window.
    if (started->thread() != thread())
        started->moveToThread(thread());
    connect(started, &KelGetBatteryThread::RefreshBatteryStatus, this,
            &MousecfgWidget::slotRefreshBatteryStatus);
    connect(started, &KelGetBatteryThread::RefreshStatus, this, &MousecfgWidget::slotRefreshStatus);
    connect(started, &KelGetBatteryThread::RefreshWriteStatus, this,
            &MousecfgWidget::slotRefreshWriteStatus);
    m_batteryThread = started;
    started->start(QThread::InheritPriority);
}

// ---------------------------------------------------------------- sending

int MousecfgWidget::send(bool force, bool tellUser) {
    KelProcessDialog dialog(this);
    // On the heap: when the program ends during a slow send, the thread is left running.
    auto sender = std::make_unique<KelProcessThread>();
    sender->force = force;
    connect(sender.get(), &KelProcessThread::DoProcessDlg, &dialog,
            &KelProcessDialog::slotProcessDlg);
    m_sending = true;
    sender->start(QThread::InheritPriority);
    const int accepted = dialog.exec();
    if (!sender->isFinished()) {
        // Closed early: wait for the thread with the event loop running. While the program
        // is quitting (the tray's "Quit", the end of the session) no loop runs any more
        // and this returns at once.
        QEventLoop loop;
        connect(sender.get(), &QThread::finished, &loop, &QEventLoop::quit);
        if (!sender->isFinished())
            loop.exec();
    }
    if (!sender->wait(kQuitWaitMs))
        abandonSend(*sender.release());
    m_sending = false;
    const int result = sender->result;
    qDebug("send result %d (groups %u)", result, sender->sentFlags());
    if (tellUser && accepted == QDialog::Accepted && result != ResultDone) {
        QString text;
        if (result == ResultMouseOff)
            text = tr("Mouse is sleeping or not connected.");
        else if (result == ResultTooManyMacros)
            text = tr("Too many macros on the buttons: the mouse holds at most twelve.");
        else
            text = tr("Send data failed, please try again.");
        KelMessageBox box(KelMessageBox::KindQuestion, tr("Warning"), text, QString(), this);
        box.exec();
    }
    // What the mouse reported during the send is taken in now.
    if (m_pendingWriteFailure) {
        m_pendingWriteFailure = false;
        writeDiffFlag(1);
    }
    if (m_pendingStatus.valid) {
        const PendingStatus p = m_pendingStatus;
        m_pendingStatus = PendingStatus();
        slotRefreshStatus(p.profile, p.dpi, p.rate, p.mode);
    }
    // A mouse that came or went during the send is looked at now, once the system has
    // settled (a node can hang up before it leaves the device list).
    if (m_deviceChangePending) {
        m_deviceChangePending = false;
        scheduleDeviceCheck();
    }
    return result;
}

// ---------------------------------------------------------------- status display

int MousecfgWidget::batteryLevelFor(int millivolts, int fullValue) {
    return ::batteryLevelFor(millivolts, fullValue);
}

int MousecfgWidget::connectionStateFor(bool cable, bool receiver, bool charging) {
    if (cable)
        return receiver ? 1 : 0;
    if (receiver)
        return charging ? 1 : 2;
    return 3;
}

QString MousecfgWidget::rateText(int code) {
    switch (code) {
    case 8:
        return tr("125 HZ");
    case 4:
        return tr("250 HZ");
    case 2:
        return tr("500 HZ");
    case 1:
        return tr("1000 HZ");
    default:
        return QString();
    }
}

void MousecfgWidget::setBatteryStyle(bool mouseOff) {
    const int px = scaled(16);
    if (mouseOff) {
        m_batteryBar->setStyleSheet(
            QStringLiteral("QProgressBar{background-color:rgb(100,100,100);border:none;"
                           "border-radius:2px;color:white;font:bold %1px;text-align:center;}"
                           "QProgressBar::chunk{background-color:rgb(100,100,100);"
                           "border-radius:2px;}")
                .arg(px));
        return;
    }
    const QColor c = interfaceColour();
    m_batteryBar->setStyleSheet(
        QStringLiteral("QProgressBar{background-color:white;border:none;border-radius:2px;"
                       "color:black;font:bold %1px;text-align:center;}"
                       "QProgressBar::chunk{background-color:rgb(%2,%3,%4);border-radius:2px;}")
            .arg(px)
            .arg(c.red())
            .arg(c.green())
            .arg(c.blue()));
}

void MousecfgWidget::slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte) {
    noteBatteryReport(iCharge, iLowByte, iHiByte);
    const DeviceMatchEntry &e = deviceMatchTable().entries[0];
    const bool cable = e.command2Found != 0;
    if (iCharge == 0 && iLowByte == 0 && iHiByte == 0) {
        m_batteryBar->setCaption(tr("MOUSE OFF"));
        setBatteryStyle(true);
        m_chargingIcon->hide();
        setMouseOffline(true);
        return;
    }
    setMouseOffline(false);
    m_batteryBar->clearCaption();
    m_batteryBar->setFormat(cable ? QString() : QStringLiteral("%p%"));
    setBatteryStyle(false);
    m_lastCharge = iCharge;
    const int millivolts = ((iHiByte * 256 + iLowByte) * 990) / 240;
    const int level = batteryLevelFor(millivolts, batteryFullValue());
    if (level != m_batteryLevel) {
        m_batteryLevel = level;
        setBatteryLevel(level);
    }
    m_batteryBar->setValue(cable ? 100 : level);
    updateConnectionDisplay();
}

void MousecfgWidget::updateConnectionDisplay() {
    const DeviceMatchEntry &e = deviceMatchTable().entries[0];
    const bool cable = e.command2Found != 0;
    const bool receiver = e.command1Found != 0;
    const int state = connectionStateFor(cable, receiver, m_lastCharge != 0);
    if (state != m_connectionState)
        qDebug("connection state %d", state);
    m_connectionState = state;
    m_receiverIcon->setVisible(receiver);
    m_batteryBar->setVisible(!cable && !(receiver && m_lastCharge != 0));
    m_chargingIcon->hide();
    update();
}

void MousecfgWidget::slotRefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode) {
    qDebug("Test data:profile =%x, dpi= %x, iRate= %x, mode= %x", iProfile, iDPI, iRate, iMode);
    if (m_sending) {
        // The send thread reads the working set until it is done; the latest report is
        // taken in after it.
        m_pendingStatus = {true, iProfile, iDPI, iRate, iMode};
        return;
    }
    ProfileSet &w = workingSet();
    // Reports are bounded before use: a profile or stage the mouse cannot have is ignored.
    if (iProfile < kProfileCount && iProfile != w.ProfileID)
        slotRefreshProfile(iProfile);
    if (iDPI < kDpiStageCount && iDPI != w.activeProfile().dpi)
        slotRefreshDPIStage(iDPI);
    if (iRate != w.activeProfile().pollrate)
        slotRefreshRate(iRate);
}

void MousecfgWidget::switchSlot(int index, bool reload) {
    if (index < 0 || index >= kProfileCount)
        return;
    ProfileSet &w = workingSet();
    m_slotBtn->setText(m_slotActions[index]->text());
    w.ProfileID = uint8_t(index);
    if (reload) {
        loadProfileByName(w.profiles[index], w.profileNames[index]);
        w.profiles[index].ProfileName = w.profileNames[index];
    }
    refreshPages();
    saveActiveProfileId(index);
}

void MousecfgWidget::slotRefreshProfile(quint8 iProfile) {
    if (iProfile >= kProfileCount)
        return;
    switchSlot(iProfile, false);
    SetSystemMouseSpeed();
}

void MousecfgWidget::onSlotChosen(QAction *action) {
    const int index = action->data().toInt();
    if (index < 0 || index >= kProfileCount)
        return;
    switchSlot(index, false);
    // The mouse is told from a worker, so that the window never waits for the device;
    // each transfer holds the handle's lock.
    QThread *worker = QThread::create([index] { SwitchProfile(index); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void MousecfgWidget::slotRefreshDPIStage(quint8 iDPI) {
    if (iDPI >= kDpiStageCount)
        return;
    ProfileSet &w = workingSet();
    ProfileData &p = w.activeProfile();
    p.dpi = iDPI;
    saveProfileDpi(w.profileNames[w.activeIndex()], iDPI);
    if (m_dpiWindow)
        m_dpiWindow->setActiveStage(iDPI);
    showOsd(tr("DPI") + QStringLiteral(" %1:%2").arg(iDPI + 1).arg(
                            stageToDpi(int(p.dpiInfo[iDPI].y), sensorCode())));
}

void MousecfgWidget::slotRefreshLightMode(quint8 iBuff1) {
    // An effect the mouse cannot have is ignored; during a send the working set is the send
    // thread's to read.
    if (iBuff1 >= kLedModeCount || m_sending)
        return;
    ProfileSet &w = workingSet();
    w.profiles[lightingRecordIndex(currentProductName(), w.activeIndex())].LedMode = iBuff1;
    if (m_colorWindow)
        m_colorWindow->setLightMode(iBuff1);
}

void MousecfgWidget::slotRefreshRate(quint8 iRate) {
    // A rate the mouse cannot have is neither stored nor shown.
    if (rateText(iRate).isEmpty())
        return;
    workingSet().activeProfile().pollrate = iRate;
    if (m_reportRate)
        m_reportRate->setReportRate(iRate);
    showOsd(rateText(iRate));
}

void MousecfgWidget::slotRefreshWriteStatus(quint8 iStatus) {
    if (iStatus != 0)
        return;
    // During a send the thread writes "Config/Diff" last; the mouse's word comes after.
    if (m_sending)
        m_pendingWriteFailure = true;
    else
        writeDiffFlag(1);
}

void MousecfgWidget::showOsd(const QString &text) {
    if (!m_osd)
        m_osd = new OsdChannel(descriptorProductName(), AppDir::programPath(QStringLiteral("OSD")));
    m_osd->show(text, interfaceColour());
}

// ---------------------------------------------------------------- presence

bool MousecfgWidget::hotPlugActive() const {
    return m_monitor && m_monitor->isActive();
}

void MousecfgWidget::onDeviceChanged(const QString &path, const HidrawDevice &device) {
    Q_UNUSED(path)
    // A device of another maker or model changes nothing here but a restart of the status
    // thread, as every plug event does.
    if (device.hasIds) {
        const DeviceMatchEntry &e = deviceMatchTable().entries[0];
        const bool ours = (device.vendorId == e.vendorId1 && device.productId == e.productId1) ||
                          (device.vendorId == e.vendorId2 && device.productId == e.productId2);
        if (!ours) {
            if (!m_sending && m_batteryThread)
                startBatteryThread();
            return;
        }
    }
    scheduleDeviceCheck();
}

void MousecfgWidget::scheduleDeviceCheck() {
    // One plug brings several events; they are looked at together a moment later.
    if (!m_deviceChangeTimer) {
        m_deviceChangeTimer = new QTimer(this);
        m_deviceChangeTimer->setSingleShot(true);
        m_deviceChangeTimer->setInterval(100);
        connect(m_deviceChangeTimer, &QTimer::timeout, this, [this] {
            // The send thread owns the device until it is done; the change waits for it.
            if (m_sending)
                m_deviceChangePending = true;
            else
                handleDeviceChange();
        });
    }
    m_deviceChangeTimer->start();
}

void MousecfgWidget::handleDeviceChange() {
    // Look again at what is plugged in. The udev event only tells that something hidraw
    // came or went; the enumeration tells which collections of which model are there now.
    const DeviceMatchEntry before = deviceMatchTable().entries[0];
    const int presentBefore = m_connectedCount;
    stopBatteryThread();
    LoadDeviceMatchTable();
    EnumerateDevices();
    const DeviceMatchEntry &now = deviceMatchTable().entries[0];
    const bool newCollection =
        (now.mouse1Found && !before.mouse1Found) || (now.command1Found && !before.command1Found) ||
        (now.mouse2Found && !before.mouse2Found) || (now.command2Found && !before.command2Found);
    const int presentNow = presentModels();

    if (presentNow == 0) {
        CloseDevice();
        refreshMouseList();
        updateConnectionDisplay();
        if (presentBefore > 0) {
            setMouseReadyFlag(false);
            m_warningShown = true;
            QTimer::singleShot(200, this, &MousecfgWidget::slotWarning);
        }
        return;
    }
    if (newCollection)
        writeDiffFlag(1);
    const QString current = currentProductName();
    refreshMouseList();
    updateConnectionDisplay();
    if (presentBefore == 0) {
        QTimer::singleShot(200, this, &MousecfgWidget::slotWarnClose);
        return;
    }
    CloseDevice();
    if (currentProductName() != current) {
        slotWarnClose();
        return;
    }
    // The current model's devices changed: open them again once the system settled.
    QTimer::singleShot(500, this, &MousecfgWidget::reopenDevice);
}

void MousecfgWidget::openCurrentDevice() {
    OpenDevice(currentProductName());
    const HidHandle *handle = commandHandle();
    qDebug("device opened, commands on %s", handle == &hidCommand2   ? "cable"
                                            : handle == &hidCommand1 ? "receiver"
                                                                     : "nothing");
    // At start the window is not up yet; slotWarning tells the user then.
    if (!handle && !deniedDevicePath().empty() && isVisible())
        QTimer::singleShot(0, this, &MousecfgWidget::warnDeviceDenied);
}

void MousecfgWidget::warnDeviceDenied() {
    // With one way to the mouse open, the mouse works and there is nothing to tell.
    const QString node = QString::fromStdString(deniedDevicePath());
    if (node.isEmpty() || commandHandle() || m_deniedWarningShown)
        return;
    // Without access the mouse looks absent; the user learns the real reason and the way
    // out. Once udev gives access, plugging the mouse in again opens it.
    const QString rule = AppDir::udevRulePath();
    qWarning("mousecfg: no permission to open %s. Install the udev rule as root: "
             "install -m 644 '%s' /etc/udev/rules.d/ && udevadm control --reload; "
             "then plug the mouse in again.",
             qPrintable(node), qPrintable(rule));
    m_deniedWarningShown = true;
    KelMessageBox box(
        KelMessageBox::KindWarning, tr("Warning"),
        tr("The mouse is connected, but this user may not open it (%1: permission denied).")
            .arg(node),
        tr("As root, copy %1 to /etc/udev/rules.d/ and run \"udevadm control --reload\", "
           "then plug the mouse in again.")
            .arg(rule),
        this);
    box.exec();
    m_deniedWarningShown = false;
}

void MousecfgWidget::reopenDevice() {
    if (m_sending) {
        m_deviceChangePending = true;
        return;
    }
    stopBatteryThread();
    CloseDevice();
    openCurrentDevice();
    startBatteryThread();
    updateConnectionDisplay();
}

// ---------------------------------------------------------------- firmware

bool MousecfgWidget::startUpdater(const QString &relativePath) {
    stopBatteryThread();
    const QString path = AppDir::path() + relativePath;
    if (QProcess::startDetached(path, QStringList())) {
        // The updater needs the mouse to itself: this program ends at once.
        ::exit(0);
    }
    // An updater that cannot run here must not take the program down with it.
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                      tr("The firmware updater could not be started."),
                      QDir::toNativeSeparators(path), this);
    box.exec();
    startBatteryThread();
    return false;
}

void MousecfgWidget::firmwarePressed() {
    if (deviceMatchTable().entries[0].mouse2Found) {
        KelMessageBox ask(KelMessageBox::KindQuestion, tr("Warning"),
                          tr("Do you want to upgrade the firmware?"), QString(), this);
        if (ask.exec() == QDialog::Accepted)
            startUpdater(QString::fromLatin1(kUpdaterA));
        return;
    }
    KelMessageBox notice(KelMessageBox::KindWarning, tr("Warning"),
                         tr("To update the firmware, please connect to the computer with a cable."),
                         QString(), this);
    notice.exec();
}

void MousecfgWidget::forcedFirmwareUpdate() {
    KelMessageBox notice(
        KelMessageBox::KindWarning, tr("Warning"),
        tr("The mouse firmware version is too low and will be automatically updated soon."),
        QString(), this);
    notice.exec();
    startUpdater(QString::fromLatin1(kUpdaterA));
}

bool MousecfgWidget::eventFilter(QObject *watched, QEvent *event) {
    // The firmware command acts on the press itself, before the button's click.
    if (watched == m_firmwareBtn && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        m_firmwareBtn->isEnabled()) {
        firmwarePressed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
