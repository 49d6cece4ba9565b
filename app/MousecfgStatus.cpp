// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's traffic with the mouse, all through the mouse session on its worker
// thread: sending, what the session reports (battery, changes made on the mouse, devices
// coming and going), the choice of model, firmware updaters and the on-screen display. Nothing
// here waits for the mouse: requests are queued on the session, and its answers come back as
// signals.
#include "AppConfig.h"
#include "AppDir.h"
#include "AppLog.h"
#include "BatteryChartDialog.h"
#include "BatteryRecorder.h"
#include "BatteryStatus.h"
#include "BatteryTray.h"
#include "FirmwareUpdater.h"
#include "InterfaceColour.h"
#include "KelColorWindow.h"
#include "KelDPIWindow.h"
#include "KelMessageBox.h"
#include "KelProcessDialog.h"
#include "KelProcessbar.h"
#include "KelPushButton.h"
#include "KelReportRate.h"
#include "LightingRules.h"
#include "ModelDescriptor.h"
#include "MouseRequests.h"
#include "MouseSession.h"
#include "MousecfgWidget.h"
#include "OsdChannel.h"
#include "PointerSpeed.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "Scale.h"
#include "SlotSelector.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

Q_LOGGING_CATEGORY(lcApp, "mousecfg.app", QtInfoMsg)

namespace {
// The status poll rests this long around a change of language.
constexpr int kLanguagePauseMs = 500;
} // namespace

// ---------------------------------------------------------------- the session

void MousecfgWidget::startSession() {
    m_worker = std::make_unique<MouseWorker>();
    m_session = m_worker->session();
    connect(m_session, &MouseSession::devicesChanged, this, &MousecfgWidget::onDevicesChanged);
    connect(m_session, &MouseSession::RefreshBatteryStatus, this,
            &MousecfgWidget::slotRefreshBatteryStatus);
    connect(m_session, &MouseSession::RefreshStatus, this, &MousecfgWidget::slotRefreshStatus);
    connect(m_session, &MouseSession::RefreshWriteStatus, this,
            &MousecfgWidget::slotRefreshWriteStatus);
    connect(m_session, &MouseSession::sendFinished, this, &MousecfgWidget::onSendFinished);
    connect(m_session, &MouseSession::profileSelected, this, &MousecfgWidget::onProfileSelected);
    connect(m_session, &MouseSession::wakeChecked, this, &MousecfgWidget::onWakeChecked);
    m_session->requestStart(currentProductName());
}

void MousecfgWidget::restartSession() {
    // What the session that ended was asked never comes back: its sends end as cut short,
    // and its slot switches no longer hold back the mouse's reports.
    const QList<PendingSend> cut = m_sends.values();
    const QList<std::function<void(int)>> unanswered = m_profileAnswers.values();
    m_sends.clear();
    m_sending = false;
    m_slotSwitchesPending = 0;
    m_profileAnswers.clear();
    if (m_progress) {
        m_progress->accept();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    startSession();
    for (const PendingSend &pending : cut)
        finishSend(pending, ResultCancelled);
    // A command line waits for these (and the commands after them wait for it).
    for (const std::function<void(int)> &answer : unanswered)
        answer(ResultCancelled);
}

void MousecfgWidget::endSession() {
    if (!m_worker)
        return;
    // A send or slot switch cut short leaves the mouse holding part of it: the next send is
    // whole. (Its cut-short answer would come after the window is gone.)
    if (m_sending || m_slotSwitchesPending > 0 || m_nextSendWhole)
        writeDiffFlag(1);
    m_worker.reset();
    m_session = nullptr;
}

void MousecfgWidget::setPolling(bool on) {
    if (m_session)
        m_session->requestPolling(on);
}

void MousecfgWidget::pausePollingForLanguage() {
    setPolling(false);
    QTimer::singleShot(kLanguagePauseMs, this, [this] { setPolling(true); });
}

// ---------------------------------------------------------------- sending

void MousecfgWidget::send(bool force, bool tellUser, std::function<void(int, bool)> then) {
    // The working set is stored whatever follows, as every apply does. A mouse last heard
    // asleep is asked again by the session before anything is sent: it may have woken since.
    const bool asleep = mouseOff();
    const SendStart start = beginSend(m_working, m_applied, force, !m_session);
    const unsigned flags = start.groups;
    PendingSend pending{m_working, tellUser, std::move(then), start.saved};
    if (flags == 0 && !asleep) {
        // Nothing for the mouse; a pointer speed changed alone still reaches the desktop.
        keepSentSpeeds(pending.sent);
        applyHostPointerSpeed();
        finishSend(pending, ResultDone);
        return;
    }
    // The mouse was let go for the firmware updater: nothing reaches it meanwhile.
    if (!m_session) {
        finishSend(pending, ResultNoDevice);
        return;
    }
    // The session sends a copy: what the pages change meanwhile stays for the next send.
    const quint64 ticket = ++m_ticket;
    m_sends.insert(ticket, pending);
    m_sending = true;
    if (!m_progress) {
        m_progress = new KelProcessDialog(this);
        // Window-modal, without an event loop of its own: the window waits, its thread not.
        m_progress->open();
    }
    m_session->requestSend(ticket, m_working, flags, asleep);
}

void MousecfgWidget::onSendFinished(quint64 ticket, int result, unsigned flags) {
    Q_UNUSED(flags)
    const auto it = m_sends.find(ticket);
    if (it == m_sends.end())
        return;
    const PendingSend pending = it.value();
    m_sends.erase(it);
    // What was sent is what the mouse holds now, also after a failure (the next send is then
    // whole); edits made during the send are not in it and remain to be sent. A mouse found
    // asleep, or a send refused for its macros, got nothing (and the next send is whole).
    if (result != ResultMouseOff && result != ResultTooManyMacros) {
        // A set that could not be stored is not what the next start reads as sent: the next
        // send is whole.
        recordSend(m_applied, pending.sent, result == ResultDone && pending.saved);
        keepSentSpeeds(pending.sent);
    }
    // What Apply sent is what the desktop uses: the active slot's pointer speed too.
    if (result == ResultDone)
        applyHostPointerSpeed();
    // The mouse said during the send that it did not keep a write, or a slot switch or a new
    // way to the mouse came meanwhile: the next send is whole.
    if (m_nextSendWhole) {
        m_nextSendWhole = false;
        writeDiffFlag(1);
    }
    m_sending = !m_sends.isEmpty();
    if (!m_sending && m_progress) {
        m_progress->accept();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    finishSend(pending, result);
}

void MousecfgWidget::finishSend(const PendingSend &pending, int result) {
    qCDebug(lcApp, "send result %d", result);
    if (pending.tellUser && result != ResultDone)
        tellSendFailure(result);
    // The settings could not be stored (a full or read-only disk): they go when the program
    // ends, unless a later Apply stores them, so the user is told.
    if (pending.tellUser && !pending.saved) {
        KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                          tr("The settings could not be saved on this computer."), QString(), this);
        box.exec();
    }
    emit sendDone(result);
    emit statusMayHaveChanged();
    if (pending.then)
        pending.then(result, pending.saved);
}

void MousecfgWidget::tellSendFailure(int result) {
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

void MousecfgWidget::selectOnMouse(int index, std::function<void(int)> answer, bool replaceable) {
    if (!m_session || index < 0 || index >= kProfileCount) {
        if (answer)
            answer(ResultNoDevice);
        return;
    }
    const quint64 ticket = ++m_ticket;
    if (answer)
        m_profileAnswers.insert(ticket, std::move(answer));
    ++m_slotSwitchesPending;
    // The mouse keeps one DPI table: it gets the slot's stages as last sent (or as read from
    // its file), so that after the switch it uses what the slot holds. Unsent edits go with
    // the next Apply.
    m_session->requestProfile(ticket, index, m_applied.profiles[index], replaceable);
}

void MousecfgWidget::checkAwake(std::function<void(int)> answer) {
    if (!m_session) {
        answer(ResultNoDevice);
        return;
    }
    const quint64 ticket = ++m_ticket;
    m_profileAnswers.insert(ticket, std::move(answer));
    m_session->requestWakeCheck(ticket);
}

void MousecfgWidget::onWakeChecked(quint64 ticket, int result) {
    const std::function<void(int)> answer = m_profileAnswers.take(ticket);
    if (answer)
        answer(result);
}

void MousecfgWidget::onProfileSelected(quint64 ticket, int index, int result) {
    Q_UNUSED(index)
    if (m_slotSwitchesPending > 0)
        --m_slotSwitchesPending;
    applyHostPointerSpeed();
    // One that a later click replaced is not made; the later one tells its outcome.
    if (result == ResultReplaced)
        return;
    // A switch cut short may leave the mouse's DPI table half written: the next send is whole.
    if (result != ResultDone)
        markNextSendWhole();
    const std::function<void(int)> answer = m_profileAnswers.take(ticket);
    if (answer)
        answer(result);
    // The user's own choice that the mouse did not take is told, unless something was asked
    // of the mouse since (a later click, a send), which tells its own outcome.
    else if (result != ResultDone && ticket == m_ticket)
        tellSendFailure(result);
}

void MousecfgWidget::keepSentSpeeds(const ProfileSet &sent) {
    m_downloaded = true;
    for (int i = 0; i < kProfileCount; ++i)
        m_downloadedSpeeds[size_t(i)] = sent.profiles[i].mousespeed;
}

void MousecfgWidget::applyHostPointerSpeed() {
    // The active slot's speed as last sent (an edit not yet sent goes with the next Apply);
    // before any send in this run, the speed the slot shows.
    const int index = m_working.activeIndex();
    const int speed = m_downloaded ? int(m_downloadedSpeeds[size_t(index)])
                                   : int(m_working.profiles[index].mousespeed);
    const PointerSpeed::Result result = PointerSpeed::writeSpeed(speed);
    qCDebug(lcApp, "pointer speed %d: result %d", speed, int(result));
}

// ---------------------------------------------------------------- status display

bool MousecfgWidget::mouseOff() const {
    return m_battery->mouseOff();
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

void MousecfgWidget::slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte) {
    const bool cable = m_devices.model().command2Found != 0;
    if (m_tray)
        m_tray->noteReport(iCharge, iLowByte, iHiByte, cable);
    m_battery->showReport(iCharge, iLowByte, iHiByte, cable);
    if (m_batteryChart)
        showBatteryChart();
    emit statusMayHaveChanged();
}

BatteryChartDialog *MousecfgWidget::batteryChart() const {
    return m_batteryChart.data();
}

void MousecfgWidget::showBatteryChart() {
    if (!m_tray)
        return;
    if (!m_batteryChart) {
        m_batteryChart = new BatteryChartDialog(this);
        m_batteryChart->setAttribute(Qt::WA_DeleteOnClose);
        m_batteryChart->open();
    }
    const bool cable = m_devices.model().command2Found != 0;
    m_batteryChart->setBattery(m_tray->historySamples(), BatteryRecorder::now(), m_tray->battery(),
                               cable, m_tray->hoursToFull());
}

void MousecfgWidget::slotRefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode) {
    qCDebug(lcApp, "Test data:profile =%x, dpi= %x, iRate= %x, mode= %x", iProfile, iDPI, iRate,
            iMode);
    // A report read before a slot switch has reached the mouse may be older than the switch:
    // taking it in would put the window back on the slot left while the mouse ends on the new
    // one. The switch gives the mouse the slot's stage and rate, which the window shows.
    if (m_slotSwitchesPending > 0)
        return;
    // Reports are bounded before use: a profile or stage the mouse cannot have is ignored. A
    // send under way has its own copy of the set, so a report is taken in at once; what the
    // send's end records as held would not know it, so the next send is whole.
    if (m_sending)
        markNextSendWhole();
    const bool slotKnown = iProfile < kProfileCount;
    const bool slotChanged = slotKnown && iProfile != m_working.ProfileID;
    const int slot = slotKnown ? int(iProfile) : m_working.activeIndex();
    // Within a slot, only what changed on the mouse is taken in: a report tells every value,
    // and one the mouse held before must not undo an edit not yet sent (a rate chosen in the
    // window, then the mouse's DPI button pressed).
    ProfileData &held = m_applied.profiles[slot];
    const ProfileData &shown = m_working.profiles[slot];
    const bool takeStage =
        iDPI < kDpiStageCount && iDPI != shown.dpi && (slotChanged || iDPI != held.dpi);
    const bool takeRate = iRate != shown.pollrate && (slotChanged || iRate != held.pollrate);
    // What the mouse reports, it holds: the next send compares with it (otherwise a stage
    // chosen again in the window, or by "dpi N", after one changed on the mouse would be
    // found unchanged and never sent), and the status tells it. Noted before the window
    // takes it in, which tells the status' followers.
    const quint8 heldDpi = held.dpi, heldRate = held.pollrate;
    if (slotKnown) {
        if (iDPI < kDpiStageCount)
            held.dpi = iDPI;
        if (!rateText(iRate).isEmpty())
            held.pollrate = iRate;
    }
    // Held anew but already shown (the window's unsent edit): the followers are told here.
    if (!slotChanged && !takeStage && !takeRate &&
        (held.dpi != heldDpi || held.pollrate != heldRate))
        emit statusMayHaveChanged();
    if (slotChanged)
        slotRefreshProfile(iProfile);
    if (takeStage)
        slotRefreshDPIStage(iDPI);
    if (takeRate)
        slotRefreshRate(iRate);
}

void MousecfgWidget::switchSlot(int index, bool reload) {
    if (index < 0 || index >= kProfileCount)
        return;
    // What the pages show of the slot left stays with it.
    keepPageEdits();
    m_working.ProfileID = uint8_t(index);
    if (reload) {
        loadProfileByName(m_working.profiles[index], m_working.profileNames[index]);
        m_working.profiles[index].ProfileName = m_working.profileNames[index];
    }
    refreshPages();
    saveActiveProfileId(index);
    emit statusMayHaveChanged();
}

void MousecfgWidget::slotRefreshProfile(quint8 iProfile) {
    if (iProfile >= kProfileCount)
        return;
    switchSlot(iProfile, false);
    applyHostPointerSpeed();
}

void MousecfgWidget::onSlotChosen(int index) {
    if (index < 0 || index >= kProfileCount)
        return;
    // A slot that could not be saved is neither shown nor sent: the next send would undo it.
    if (!saveActiveProfileId(index)) {
        m_slots->showActive(m_working.activeIndex());
        showLibraryResult(LibraryWriteFailed);
        return;
    }
    switchSlot(index, false);
    // Queued on the session: of clicks in a row, the mouse goes to the slot chosen last.
    selectOnMouse(index, {}, true);
}

void MousecfgWidget::slotRefreshDPIStage(quint8 iDPI) {
    if (iDPI >= kDpiStageCount)
        return;
    ProfileData &p = m_working.activeProfile();
    p.dpi = iDPI;
    saveProfileDpi(m_working.profileNames[m_working.activeIndex()], iDPI);
    if (KelDPIWindow *page = m_pages->dpi())
        page->setActiveStage(iDPI);
    emit statusMayHaveChanged();
    showOsd(tr("DPI") + QStringLiteral(" %1:%2").arg(iDPI + 1).arg(
                            stageToDpi(int(p.dpiInfo[iDPI].y), sensorCode())));
}

void MousecfgWidget::slotRefreshLightMode(quint8 iBuff1) {
    // An effect the mouse cannot have is ignored.
    if (iBuff1 >= kLedModeCount)
        return;
    m_working.profiles[lightingRecordIndex(currentProductName(), m_working.activeIndex())].LedMode =
        iBuff1;
    if (KelColorWindow *page = m_pages->lighting())
        page->setLightMode(iBuff1);
}

void MousecfgWidget::slotRefreshRate(quint8 iRate) {
    // A rate the mouse cannot have is neither stored nor shown.
    if (rateText(iRate).isEmpty())
        return;
    m_working.activeProfile().pollrate = iRate;
    // Saved as the stage is: the mouse holds it, and Cancel, which reads the files again, must
    // not show the rate it had before.
    saveProfileValue(m_working.profileNames[m_working.activeIndex()], QStringLiteral("pollrate"),
                     iRate);
    if (KelReportRate *page = m_pages->reportRate())
        page->setReportRate(iRate);
    emit statusMayHaveChanged();
    showOsd(rateText(iRate));
}

void MousecfgWidget::slotRefreshWriteStatus(quint8 iStatus) {
    if (iStatus == 0)
        markNextSendWhole();
}

void MousecfgWidget::markNextSendWhole() {
    // A send under way writes "Config/Diff" when it ends: what was learnt meanwhile comes after
    // it, or a send that succeeded would clear the flag.
    if (m_sending)
        m_nextSendWhole = true;
    else
        writeDiffFlag(1);
}

void MousecfgWidget::showOsd(const QString &text) {
    if (!m_osd)
        m_osd = new OsdChannel(descriptorProductName(), AppDir::programPath(QStringLiteral("OSD")),
                               this);
    m_osd->show(text, interfaceColour());
}

// ---------------------------------------------------------------- presence

void MousecfgWidget::onDevicesChanged(const MouseDevices &devices) {
    const int presentBefore = connectedModelCount();
    const bool first = !m_devicesKnown;
    m_devicesKnown = true;
    m_devices = devices;
    if (devices.newCollection)
        markNextSendWhole();
    const QString current = currentProductName();
    refreshMouseList();
    m_battery->showLinks(m_devices.model().command2Found != 0,
                         m_devices.model().command1Found != 0);
    if (m_tray)
        m_tray->setMousePresent(connectedModelCount() > 0);
    emit statusMayHaveChanged();
    // At start the window is not up yet; slotWarning tells the user then.
    if (devices.link == MouseDevices::NoLink && !devices.deniedPath.isEmpty() && isVisible())
        QTimer::singleShot(0, this, &MousecfgWidget::warnDeviceDenied);

    if (first) {
        // The window shows at once when a mouse is there (unless it started into the tray);
        // without one the start-up checks show it with their warning.
        if (connectedModelCount() > 0 && !m_startHidden)
            show();
        if (m_warningDue) {
            m_warningDue = false;
            slotWarning();
        }
        return;
    }
    if (connectedModelCount() == 0) {
        if (presentBefore > 0) {
            setMouseReadyFlag(false);
            m_warningShown = true;
            // A mouse back within the moment (the port re-enumerated) needs no warning, and a
            // window in the tray stays there.
            QTimer::singleShot(200, this, [this] {
                if (connectedModelCount() == 0)
                    slotWarning();
                else
                    m_warningShown = false;
            });
        }
        return;
    }
    if (presentBefore == 0) {
        QTimer::singleShot(200, this, &MousecfgWidget::slotWarnClose);
        return;
    }
    if (currentProductName() != current)
        slotWarnClose();
}

void MousecfgWidget::warnDeviceDenied() {
    // With one way to the mouse open, the mouse works and there is nothing to tell.
    const QString node = m_devices.deniedPath;
    if (node.isEmpty() || m_devices.link != MouseDevices::NoLink || m_deniedWarningShown)
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

bool MousecfgWidget::eventFilter(QObject *watched, QEvent *event) {
    // The firmware command acts on the press itself, before the button's click.
    if (watched == m_firmwareBtn && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        m_firmwareBtn->isEnabled()) {
        m_firmware->offer(m_devices);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
