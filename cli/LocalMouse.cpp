// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalMouse.h"

#include "AppConfig.h"
#include "BatteryRecorder.h"
#include "DeviceLog.h"
#include "DeviceMonitor.h"
#include "IniFile.h"
#include "MouseSession.h"
#include "PointerSpeed.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"
#include "SavedProfiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <optional>
#include <utility>

namespace {

// How long the mouse has to answer the battery query.
constexpr int kBatteryWaitMs = 1000;
// A follower's looks come at the window's polling step, and the window asks for the battery
// once in each cycle of its rounds.
constexpr int kLooksPerBatteryQuery = MouseSession::kCycleEnd - 1;

// The mouse for the length of one command, on this program's own thread: the command line
// may wait for it.
class Session {
public:
    Session() {
        // The latest battery report counts: the answer to a query, or one the mouse sent by
        // itself (waking, falling asleep, a battery step) while a follower kept it open.
        QObject::connect(&m_mouse, &MouseSession::RefreshBatteryStatus,
                         [this](quint8 charge, quint8 low, quint8 high) {
                             setStatusBattery(m_status, charge, low, high);
                             m_newReading = true;
                         });
        QObject::connect(&m_mouse, &MouseSession::RefreshStatus,
                         [this](quint8 profile, quint8 stage, quint8 rate, quint8) {
                             m_heard = Heard{profile, stage, rate};
                         });
        // The model is the installation's, as in the window until it has looked; the mouse is
        // found here, but opened only for the commands that need it.
        setCurrentProductName(modelListName());
        m_mouse.start(QString(), false);
        setStatusLink(m_status, m_mouse.devices().model());
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool present() const { return m_mouse.devices().model().present(); }
    DeviceMatchTable table() const { return m_mouse.devices().table; }
    MouseStatus &status() { return m_status; }
    MouseSession &mouse() { return m_mouse; }
    // The mouse reported itself off, or never answered: a send is refused.
    bool mouseOff() const { return m_mouseOff; }

    // Opens the mouse and, with askBattery, asks for its battery: Done, NoMouse, or MouseOff
    // when the mouse sleeps or never answers. The answer also sets what the window's status
    // display would: the mouse-off state, which a send refuses on, and the receiver's link
    // byte. Without askBattery the battery is what the mouse told last.
    MouseOutcome open(bool askBattery = true) {
        m_newReading = false;
        if (!present())
            return MouseOutcome::of(MouseOutcome::NoMouse);
        m_mouse.openModel(currentProductName());
        if (m_mouse.devices().link == MouseDevices::NoLink)
            return MouseOutcome::of(MouseOutcome::NoMouse);
        // A session kept open since the last look (a follower's) has what the mouse told by
        // itself meanwhile waiting; the battery, when asked, is the answer to this query.
        m_mouse.readReports();
        if (askBattery) {
            // One query left unanswered by a mouse heard awake changes nothing, as in the
            // window: its last reading stands, rather than a look that tells it off.
            const bool heard = m_status.batteryKnown && !m_status.asleep;
            m_status.batteryKnown = false;
            if (!m_mouse.queryBattery(kBatteryWaitMs) && heard)
                m_status.batteryKnown = true;
        }
        m_mouseOff = !m_status.batteryKnown || m_status.asleep;
        return MouseOutcome::of(m_mouseOff ? MouseOutcome::MouseOff : MouseOutcome::Done);
    }
    // A battery report came in the last open().
    bool newReading() const { return m_newReading; }

    // A slot, DPI stage or report rate changed on the mouse (its buttons), told while the
    // session was open, goes into the saved state as the window takes it: the slot, then the
    // stage and rate of the slot then active. What the mouse cannot have is ignored.
    void takeHeardChange() {
        if (!m_heard)
            return;
        const Heard heard = *std::exchange(m_heard, std::nullopt);
        qCDebug(lcDevice, "the mouse changed to slot %d, stage %d, rate %d", heard.profile + 1,
                heard.stage + 1, heard.rate);
        ProfileSet saved;
        loadSavedProfiles(saved);
        if (heard.profile < kProfileCount && heard.profile != saved.activeIndex()) {
            saveActiveProfileId(heard.profile);
            saved.ProfileID = uint8_t(heard.profile);
        }
        const QString name = saved.profileNames[saved.activeIndex()];
        if (heard.stage < kDpiStageCount && heard.stage != saved.activeProfile().dpi)
            saveProfileDpi(name, heard.stage);
        if (rateHz(heard.rate) > 0 && heard.rate != saved.activeProfile().pollrate)
            saveProfileValue(name, QStringLiteral("pollrate"), heard.rate);
    }

private:
    MouseSession m_mouse;
    MouseStatus m_status;
    bool m_mouseOff = false;
    bool m_newReading = false;
    struct Heard {
        int profile;
        int stage;
        int rate;
    };
    std::optional<Heard> m_heard;
};

// The saved set as the window loads it at start.
struct Sets {
    ProfileSet working;
    ProfileSet applied;
};

Sets loadSets() {
    Sets sets;
    loadSavedProfiles(sets.applied);
    sets.working = sets.applied;
    return sets;
}

// The window's send without its dialog: save, compare, download what changed, record it.
MouseOutcome send(Session &session, Sets &sets, bool everything) {
    const SendStart start = beginSend(sets.working, sets.applied, everything, session.mouseOff());
    if (session.mouseOff())
        return outcomeOfSend(ResultMouseOff);
    const int result =
        start.groups == 0 ? int(ResultDone) : session.mouse().send(sets.working, start.groups);
    if (start.groups != 0)
        recordSend(sets.applied, sets.working, result == ResultDone && start.saved);
    // What was sent is what the desktop uses, as after the window's Apply: the active slot's
    // pointer speed too (the program ends soon: the desktop takes it first).
    if (result == ResultDone) {
        PointerSpeed::writeSpeed(sets.working.activeProfile().mousespeed);
        PointerSpeed::settle(1000);
    }
    return outcomeOfStoredSend(result, start.saved);
}

MouseOutcome status(Session &session, BatteryRecorder &battery, bool askBattery = true) {
    MouseOutcome outcome = session.open(askBattery);
    if (outcome.kind == MouseOutcome::NoMouse)
        return outcome;
    // Each reading goes into the battery history once, as the window's do (the cable's
    // collection present: the mouse charges on it); a sleeping mouse gives none. Between
    // readings the hours left stay those of the last.
    if (session.newReading() && session.status().batteryKnown)
        battery.note(session.status(), session.status().cable);
    session.takeHeardChange();
    // Only the active slot's profile is read, and no other setting is written: a status bar
    // polls.
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

MouseOutcome switchProfile(Session &session, int index) {
    Sets sets = loadSets();
    sets.working.ProfileID = uint8_t(index);
    // A slot that could not be saved is not sent either: the next send would undo it.
    if (!saveActiveProfileId(index))
        return outcomeOfLibrary(LibraryWriteFailed);
    const int result = session.mouse().selectProfile(index, sets.working.profiles[index]);
    // A switch cut short may leave the mouse's DPI table half written: the next send is whole.
    if (result != ResultDone)
        writeDiffFlag(1);
    // Nothing was sent in this run: the slot's own pointer speed goes to the host.
    PointerSpeed::writeSpeed(sets.working.activeProfile().mousespeed);
    PointerSpeed::settle(1000); // the program ends soon: let the desktop take it first
    return outcomeOfSend(result);
}

MouseOutcome switchStage(Session &session, int number) {
    Sets sets = loadSets();
    ProfileData &p = sets.working.activeProfile();
    MouseOutcome check = checkDpiStage(p, number);
    if (check.kind != MouseOutcome::Done)
        return check;
    p.dpi = uint8_t(number - 1);
    if (!saveProfileDpi(sets.working.profileNames[sets.working.activeIndex()], p.dpi))
        return outcomeOfLibrary(LibraryWriteFailed);
    // Which stage the mouse is on is not known here (its button may have changed it while no
    // window heard): the stage is sent even where the saved one is the same.
    sets.applied.activeProfile().dpi = kDpiStageCount;
    return send(session, sets, false);
}

MouseOutcome takeIn(Sets &sets, const QString &path, ImportMode mode) {
    QStringList library = readProfileLibrary();
    return importIntoSet(library, sets.working, path, mode);
}

MouseOutcome apply(Session &session, const MouseRequest &r) {
    Sets sets = loadSets();
    MouseOutcome taken;
    if (!r.path.isEmpty()) {
        taken = takeIn(sets, r.path, ImportThenSend);
        if (taken.kind != MouseOutcome::Done)
            return taken;
    }
    MouseOutcome sent = send(session, sets, r.everything);
    sent.refusedNames = taken.refusedNames;
    return sent;
}

MouseOutcome import(const QString &path) {
    Sets sets = loadSets();
    // Saved but not sent: the mouse may not hold what is saved, so the next send sends all of
    // it. The file, the library and the saved state are written as one.
    return takeIn(sets, path, ImportOnly);
}

} // namespace

struct StatusFollower::Private {
    std::unique_ptr<Session> session;
    QJsonArray mice; // what was plugged in when the session was made
    // Hidraw nodes coming and going: the devices are looked for again only then, or at every
    // look when no plug events come.
    DeviceMonitor plugs;
    bool plugged = false; // a node of the model came or went since the last look
    // Looks until the battery is asked for again: 0, at this one.
    int looksToQuery = 0;
};

StatusFollower::StatusFollower() : d(std::make_unique<Private>()) {
    const auto onPlug = [this](const QString &, const HidrawDevice &device) {
        d->plugged = d->plugged || !d->session || mayBeModelDevice(device, d->session->table());
    };
    QObject::connect(&d->plugs, &DeviceMonitor::deviceArrived, onPlug);
    QObject::connect(&d->plugs, &DeviceMonitor::deviceRemoved, onPlug);
}

StatusFollower::~StatusFollower() = default;

MouseOutcome StatusFollower::look(BatteryRecorder &battery) {
    removeInterruptedConfigWrites();
    // The plug events since the last look.
    QCoreApplication::processEvents();
    const bool plugged = std::exchange(d->plugged, false);
    if (!d->session || plugged || !d->plugs.isActive()) {
        // What is plugged in now; the session of the last look serves while that is the same
        // and none of its nodes went meanwhile (one of them may be back under the same name).
        auto now = std::make_unique<Session>();
        const QJsonArray mice = presentMice(now->table());
        if (!d->session || plugged || mice != d->mice) {
            d->session = std::move(now);
            d->mice = mice;
            d->looksToQuery = 0;
        }
    }
    // The battery is asked for as often as the window asks: at the first look of a session,
    // then once in each cycle of the window's status poll. In between, the mouse's own
    // reports tell its changes, a battery step, falling asleep or waking among them.
    const bool ask = d->looksToQuery == 0;
    d->looksToQuery = ask ? kLooksPerBatteryQuery - 1 : d->looksToQuery - 1;
    MouseOutcome outcome = status(*d->session, battery, ask);
    // Asleep or gone: the next look starts afresh.
    if (outcome.kind != MouseOutcome::Done)
        d->session.reset();
    return outcome;
}

MouseOutcome runLocally(const MouseRequest &r, BatteryRecorder &battery) {
    // This program holds the mouse's lock, as the window does from its start: what a killed
    // run of either left unfinished is finished or undone before anything is read.
    removeInterruptedConfigWrites();
    Session session;
    switch (r.command) {
    case MouseRequest::List: {
        // No mouse is an empty list, not a failure.
        MouseOutcome o;
        o.data.insert(QStringLiteral("mice"), presentMice(session.table()));
        return o;
    }
    case MouseRequest::Status:
        return status(session, battery);
    case MouseRequest::Export:
        return exportFromSet(loadSets().working, r.path);
    case MouseRequest::Import:
        return import(r.path);
    case MouseRequest::Invalid:
    case MouseRequest::Follow: // followed by the command line's own looks (followStatus)
        return MouseOutcome::of(MouseOutcome::BadFile);
    default:
        break;
    }
    // The commands that send: nothing changes unless the mouse is there and awake.
    const MouseOutcome opened = session.open();
    if (opened.kind != MouseOutcome::Done)
        return opened;
    if (r.command == MouseRequest::Profile)
        return switchProfile(session, r.number - 1);
    if (r.command == MouseRequest::Dpi)
        return switchStage(session, r.number);
    return apply(session, r);
}
