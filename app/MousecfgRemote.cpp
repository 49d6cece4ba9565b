// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's requests: while the window runs, the command line hands each request to
// it (through the command server) and the window carries it out as its own commands do, so
// that only one program ever talks to the mouse.
#include "AppConfig.h"
#include "BatteryTray.h"
#include "CommandServer.h"
#include "FirmwareUpdater.h"
#include "KelPushButton.h"
#include "ModelDescriptor.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "ProfileFiles.h"

#include <QAction>
#include <QApplication>

void MousecfgWidget::startRemote() {
    m_commands = new CommandServer(
        [this] {
            // A send under way shows its progress; an open dialog (a question, a file dialog)
            // is the user's and must not find the state changed under it. The box that tells
            // there is no mouse shows no state: import and export go on beside it.
            const bool noMouseBox = m_warningShown && connectedModelCount() == 0;
            // While the firmware updater runs, the mouse is its alone.
            return m_sending || (QApplication::activeModalWidget() && !noMouseBox) ||
                   QApplication::activePopupWidget() || m_firmware->updating();
        },
        [this] { return connectedModelCount() > 0; },
        [this](const MouseRequest &request, RemoteAnswer answer) {
            performRemote(request, std::move(answer));
        },
        this);
    connect(this, &MousecfgWidget::statusMayHaveChanged, m_commands, &CommandServer::pushStatus);
    m_commands->listen(requestSocketPath(descriptorProductName()));
}

MouseOutcome MousecfgWidget::remoteStatus() const {
    if (connectedModelCount() == 0)
        return MouseOutcome::of(MouseOutcome::NoMouse);
    MouseStatus status = m_tray->battery();
    setStatusLink(status, m_devices.model());
    // What the mouse holds, as last sent or reported: an edit not yet sent is not its.
    const int slot = m_working.activeIndex();
    setStatusProfile(status, slot, m_applied.profiles[slot]);
    const bool reading = status.batteryKnown && !status.asleep && !mouseOff();
    MouseOutcome outcome = MouseOutcome::of(reading ? MouseOutcome::Done : MouseOutcome::MouseOff);
    outcome.data = statusObject(status);
    return outcome;
}

MouseOutcome MousecfgWidget::remoteTakeIn(const QString &path, ImportMode mode) {
    ProfileSet &w = m_working;
    // The pages' unsent edits of the other slots outlive the import.
    keepPageEdits();
    const MouseOutcome outcome = importIntoSet(m_library, w, path, mode);
    if (outcome.kind == MouseOutcome::Done) {
        rebuildLibraryMenu();
        refreshPages();
    }
    return outcome;
}

void MousecfgWidget::performRemote(const MouseRequest &request, RemoteAnswer answer) {
    ProfileSet &w = m_working;
    switch (request.command) {
    case MouseRequest::List: {
        // No mouse is an empty list, not a failure.
        MouseOutcome outcome;
        outcome.data.insert(QStringLiteral("mice"), presentMice(m_devices.table));
        answer(outcome);
        return;
    }
    case MouseRequest::Status:
        answer(remoteStatus());
        return;
    case MouseRequest::Export:
        // What the pages show, as the window's own export writes it.
        keepPageEdits();
        answer(exportFromSet(w, request.path));
        return;
    case MouseRequest::Invalid:
    case MouseRequest::Follow: // the command server keeps its followers itself
        answer(MouseOutcome::of(MouseOutcome::BadFile));
        return;
    case MouseRequest::Import:
        // Saved but not sent, in the same write: the next send sends all of it.
        answer(remoteTakeIn(request.path, ImportOnly));
        return;
    default:
        break;
    }
    // The commands that send: nothing changes unless the mouse is there and awake.
    if (connectedModelCount() == 0) {
        answer(MouseOutcome::of(MouseOutcome::NoMouse));
        return;
    }
    if (!mouseOff()) {
        performSending(request, std::move(answer));
        return;
    }
    // Last heard asleep, maybe half a minute ago: the mouse is asked again before it is
    // refused, as the window's own Apply does.
    checkAwake([this, request, answer](int result) {
        if (result == ResultDone)
            performSending(request, answer);
        else
            answer(outcomeOfSend(result));
    });
}

void MousecfgWidget::performSending(const MouseRequest &request, RemoteAnswer answer) {
    ProfileSet &w = m_working;
    // The mouse may have gone while it was asked.
    if (connectedModelCount() == 0) {
        answer(MouseOutcome::of(MouseOutcome::NoMouse));
        return;
    }
    const auto sent = [answer](int result) { answer(outcomeOfSend(result)); };
    if (request.command == MouseRequest::Profile) {
        // As the slot menu does, through the same queue on the session.
        const int index = request.number - 1;
        // A slot that could not be saved is not sent, as on the command line's own.
        if (!saveActiveProfileId(index)) {
            answer(outcomeOfLibrary(LibraryWriteFailed));
            return;
        }
        switchSlot(index, false);
        selectOnMouse(index, sent);
        return;
    }
    if (request.command == MouseRequest::Dpi) {
        // Checked against what the DPI page shows, whose edits go with this send as on Apply.
        keepPageEdits();
        const MouseOutcome check = checkDpiStage(w.activeProfile(), request.number);
        if (check.kind != MouseOutcome::Done) {
            answer(check);
            return;
        }
        slotRefreshDPIStage(quint8(request.number - 1));
        send(false, false,
             [answer](int result, bool saved) { answer(outcomeOfStoredSend(result, saved)); });
        return;
    }
    // apply: a file is taken in first; without one, what the window holds goes, as on Apply.
    int refused = 0;
    if (!request.path.isEmpty()) {
        const MouseOutcome taken = remoteTakeIn(request.path, ImportThenSend);
        if (taken.kind != MouseOutcome::Done) {
            answer(taken);
            return;
        }
        refused = taken.refusedNames;
    } else {
        keepPageEdits();
    }
    send(request.everything, false, [answer, refused](int result, bool saved) {
        MouseOutcome outcome = outcomeOfStoredSend(result, saved);
        outcome.refusedNames = refused;
        answer(outcome);
    });
}
