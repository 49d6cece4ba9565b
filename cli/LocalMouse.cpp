#include "LocalMouse.h"

#include "AppConfig.h"
#include "DeviceThreads.h"
#include "HidTransport.h"
#include "IniFile.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"
#include "SavedProfiles.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

namespace {

// How long the mouse has to answer the battery query.
constexpr int kBatteryWaitMs = 1000;

bool present(const DeviceMatchEntry &e) {
    return (e.mouse1Found && e.command1Found) || (e.mouse2Found && e.command2Found);
}

// The mouse for the length of one command.
class Session {
public:
    Session() {
        LoadDeviceMatchTable();
        EnumerateDevices();
        setStatusLink(m_status, deviceMatchTable().entries[0]);
    }
    ~Session() {
        CloseDevice();
        ExitHid();
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool present() const { return ::present(deviceMatchTable().entries[0]); }
    MouseStatus &status() { return m_status; }

    // Opens the mouse and asks for its battery: Done, NoMouse, or MouseOff when the mouse
    // sleeps or never answers. The answer also sets what the window's status display would:
    // the mouse-off flag, which the send refuses on, and the receiver's link byte.
    MouseOutcome open() {
        if (!present())
            return MouseOutcome::of(MouseOutcome::NoMouse);
        OpenDevice(currentProductName());
        if (!commandHandle())
            return MouseOutcome::of(MouseOutcome::NoMouse);
        askBattery();
        setMouseOffline(!m_status.batteryKnown || m_status.asleep);
        return MouseOutcome::of(mouseOffline() ? MouseOutcome::MouseOff : MouseOutcome::Done);
    }

private:
    // One status query, made by the status thread's own first cycle; the thread is stopped
    // as soon as the report came or the wait is over.
    void askBattery() {
        KelGetBatteryThread thread;
        QEventLoop loop;
        QObject::connect(&thread, &KelGetBatteryThread::RefreshBatteryStatus, &loop,
                         [this, &loop](quint8 charge, quint8 low, quint8 high) {
                             if (!m_status.batteryKnown)
                                 setStatusBattery(m_status, charge, low, high);
                             loop.quit();
                         });
        QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kBatteryWaitMs, &loop, &QEventLoop::quit);
        thread.start();
        loop.exec();
        thread.stop();
        thread.wait();
    }

    MouseStatus m_status;
};

// The saved set as the window loads it at start, in both process-wide sets.
ProfileSet &loadSets() {
    loadSavedProfiles(appliedSet());
    workingSet() = appliedSet();
    return workingSet();
}

// The window's send without its dialog: save, compare, download what changed.
MouseOutcome send(bool everything) {
    KelProcessThread sender;
    sender.force = everything;
    sender.start();
    sender.wait();
    return outcomeOfSend(sender.result);
}

MouseOutcome status(Session &session) {
    MouseOutcome outcome = session.open();
    if (outcome.kind == MouseOutcome::NoMouse)
        return outcome;
    // Only the active slot's profile is read, and nothing is written: a status bar polls.
    // A slot whose file was never made shows what the window would make it from.
    ProfileSet saved;
    {
        const IniFile ini(configIniPath());
        saved.ProfileID = uint8_t(ini.value(QStringLiteral("Config/ProfileID"), 0).toInt());
        const QString key = QStringLiteral("Config/Profile%1").arg(saved.activeIndex() + 1);
        saved.profileNames[saved.activeIndex()] = ini.value(key).toString();
    }
    const QString name = saved.profileNames[saved.activeIndex()];
    if (QFileInfo::exists(profileFilePath(name)) || QFileInfo::exists(sharedProfileFilePath(name)))
        loadProfileByName(saved.activeProfile(), name);
    else
        makeDefaultProfile(saved.activeProfile());
    setStatusProfile(session.status(), saved);
    outcome.data = statusObject(session.status());
    return outcome;
}

MouseOutcome switchProfile(int index) {
    ProfileSet &w = loadSets();
    w.ProfileID = uint8_t(index);
    saveActiveProfileId(index);
    return outcomeOfSend(SwitchProfile(index));
}

MouseOutcome switchStage(int number) {
    ProfileSet &w = loadSets();
    ProfileData &p = w.activeProfile();
    MouseOutcome check = checkDpiStage(p, number);
    if (check.kind != MouseOutcome::Done)
        return check;
    p.dpi = uint8_t(number - 1);
    saveProfileDpi(w.profileNames[w.activeIndex()], p.dpi);
    return send(false);
}

MouseOutcome takeIn(const QString &path) {
    QStringList library = readProfileLibrary();
    return importIntoSet(library, loadSets(), path);
}

MouseOutcome apply(const MouseRequest &r) {
    MouseOutcome taken;
    if (!r.path.isEmpty()) {
        taken = takeIn(r.path);
        if (taken.kind != MouseOutcome::Done)
            return taken;
    } else {
        loadSets();
    }
    MouseOutcome sent = send(r.everything);
    sent.refusedNames = taken.refusedNames;
    return sent;
}

MouseOutcome import(const QString &path) {
    MouseOutcome outcome = takeIn(path);
    if (outcome.kind == MouseOutcome::Done) {
        // Saved but not sent: the mouse may not hold what is saved, so the next send sends
        // all of it.
        saveAppliedState(workingSet());
        writeDiffFlag(1);
    }
    return outcome;
}

} // namespace

MouseOutcome runLocally(const MouseRequest &r) {
    Session session;
    switch (r.command) {
    case MouseRequest::List: {
        MouseOutcome o =
            MouseOutcome::of(session.present() ? MouseOutcome::Done : MouseOutcome::NoMouse);
        o.data.insert(QStringLiteral("mice"), presentMice(deviceMatchTable()));
        return o;
    }
    case MouseRequest::Status:
        return status(session);
    case MouseRequest::Export:
        return exportFromSet(loadSets(), r.path);
    case MouseRequest::Import:
        return import(r.path);
    case MouseRequest::Invalid:
        return MouseOutcome::of(MouseOutcome::BadFile);
    default:
        break;
    }
    // The commands that send: nothing changes unless the mouse is there and awake.
    const MouseOutcome opened = session.open();
    if (opened.kind != MouseOutcome::Done)
        return opened;
    if (r.command == MouseRequest::Profile)
        return switchProfile(r.number - 1);
    if (r.command == MouseRequest::Dpi)
        return switchStage(r.number);
    return apply(r);
}
