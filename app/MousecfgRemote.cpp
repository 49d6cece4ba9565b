// The command line's requests: while the window runs, the command line hands each request to
// it on a local socket, and the window carries it out as its own commands do, so that only
// one program ever talks to the mouse. The socket lies in the user's runtime folder, open to
// its owner only, and a peer of another user is turned away as well.
#include "AppConfig.h"
#include "AppLog.h"
#include "KelPushButton.h"
#include "LocalStream.h"
#include "ModelDescriptor.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "UserRuntimeDir.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTimer>

namespace {

// How long a request that needs the mouse waits while the window is busy with it (a send,
// a dialog), before the command line is told so. The command line waits longer than this.
constexpr int kRemoteBusyMs = 20000;
constexpr int kRemoteRetryMs = 100;

void answer(LocalStreamConnection *socket, const MouseOutcome &outcome) {
    if (!socket || !socket->isConnected())
        return;
    socket->write(encodeOutcome(outcome));
    socket->disconnectFromServer();
}

} // namespace

void MousecfgWidget::startRemote() {
    m_remoteClock.start();
    m_remoteTimer = new QTimer(this);
    m_remoteTimer->setSingleShot(true);
    connect(m_remoteTimer, &QTimer::timeout, this, &MousecfgWidget::runRemoteQueue);

    // The socket file is made the owner's alone before anyone can connect.
    m_remote = new LocalStreamServer(this);
    const QString path = requestSocketPath(descriptorProductName());
    // This window holds the product's lock: a socket file left there is a crashed copy's.
    QFile::remove(path);
    if (!m_remote->listen(path))
        qCDebug(lcApp).noquote() << "command line socket:" << m_remote->errorString();
    connect(m_remote, &LocalStreamServer::newConnection, this, &MousecfgWidget::onRemoteConnection);
}

void MousecfgWidget::onRemoteConnection(LocalStreamConnection *socket) {
    connect(socket, &LocalStreamConnection::disconnected, socket, &QObject::deleteLater);
    if (!peerIsThisUser(socket->descriptor())) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // One request per connection, one line long.
    socket->setReadBufferSize(kMaxRequestLine + 1);
    connect(socket, &LocalStreamConnection::readyRead, this,
            [this, socket] { onRemoteReadable(socket); });
}

void MousecfgWidget::onRemoteReadable(LocalStreamConnection *socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequestLine)
            socket->abort();
        return;
    }
    disconnect(socket, &LocalStreamConnection::readyRead, this, nullptr);
    MouseRequest request;
    if (!decodeRequest(socket->readLine(kMaxRequestLine + 1), request)) {
        socket->abort();
        return;
    }
    // What only reads is told at once, also while a send runs: a status bar never waits.
    if (request.readsOnly()) {
        performRemote(request, [socket](const MouseOutcome &outcome) { answer(socket, outcome); });
        return;
    }
    m_remoteQueue.append({socket, request, m_remoteClock.elapsed()});
    // Carried out from the event loop, not from inside the socket's signal: a message box
    // runs an event loop of its own, in which an answered socket may be deleted.
    m_remoteTimer->start(0);
}

bool MousecfgWidget::remoteBusy() const {
    // A send under way shows its progress; an open dialog (a question, a file dialog) is the
    // user's and must not find the state changed under it.
    return m_sending || QApplication::activeModalWidget() || QApplication::activePopupWidget();
}

void MousecfgWidget::runRemoteQueue() {
    // One request at a time: the next waits until the mouse has answered this one.
    if (m_remoteRunning)
        return;
    while (!m_remoteQueue.isEmpty()) {
        const RemoteRequest &head = m_remoteQueue.first();
        // A command line that gave up has been told nothing was done: nothing is done late.
        if (!head.socket || !head.socket->isConnected()) {
            m_remoteQueue.removeFirst();
            continue;
        }
        // Without a mouse there is no model and nothing to do: told at once, also while the
        // "Dongle Disconnect!" box is up.
        if (connectedModelCount() == 0) {
            answer(head.socket, MouseOutcome::of(MouseOutcome::NoMouse));
            m_remoteQueue.removeFirst();
            continue;
        }
        if (remoteBusy()) {
            if (m_remoteClock.elapsed() - head.since < kRemoteBusyMs) {
                m_remoteTimer->start(kRemoteRetryMs);
                return;
            }
            answer(head.socket, MouseOutcome::of(MouseOutcome::Busy));
            m_remoteQueue.removeFirst();
            continue;
        }
        const RemoteRequest taken = m_remoteQueue.takeFirst();
        m_remoteRunning = true;
        QPointer<LocalStreamConnection> socket = taken.socket;
        performRemote(taken.request, [this, socket](const MouseOutcome &outcome) {
            answer(socket, outcome);
            m_remoteRunning = false;
            if (!m_remoteQueue.isEmpty())
                m_remoteTimer->start(0);
        });
        // Answered later: the queue goes on from the answer.
        if (m_remoteRunning)
            return;
    }
}

MouseOutcome MousecfgWidget::remoteStatus() const {
    if (connectedModelCount() == 0)
        return MouseOutcome::of(MouseOutcome::NoMouse);
    MouseStatus status = m_battery;
    setStatusLink(status, m_devices.model());
    setStatusProfile(status, m_working);
    const bool reading = status.batteryKnown && !status.asleep && !m_mouseOff;
    MouseOutcome outcome = MouseOutcome::of(reading ? MouseOutcome::Done : MouseOutcome::MouseOff);
    outcome.data = statusObject(status);
    return outcome;
}

MouseOutcome MousecfgWidget::remoteTakeIn(const QString &path, ImportMode mode) {
    ProfileSet &w = m_working;
    const MouseOutcome outcome = importIntoSet(m_library, w, path, mode);
    if (outcome.kind == MouseOutcome::Done) {
        rebuildLibraryMenu();
        setWheelPictures();
        m_slotBtn->setText(m_slotActions[w.activeIndex()]->text());
        refreshPages();
    }
    return outcome;
}

void MousecfgWidget::performRemote(const MouseRequest &request, RemoteAnswer answer) {
    ProfileSet &w = m_working;
    switch (request.command) {
    case MouseRequest::List: {
        MouseOutcome outcome = MouseOutcome::of(connectedModelCount() > 0 ? MouseOutcome::Done
                                                                          : MouseOutcome::NoMouse);
        outcome.data.insert(QStringLiteral("mice"), presentMice(m_devices.table));
        answer(outcome);
        return;
    }
    case MouseRequest::Status:
        answer(remoteStatus());
        return;
    case MouseRequest::Export:
        answer(exportFromSet(w, request.path));
        return;
    case MouseRequest::Invalid:
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
    if (m_mouseOff) {
        answer(MouseOutcome::of(MouseOutcome::MouseOff));
        return;
    }
    const auto sent = [answer](int result) { answer(outcomeOfSend(result)); };
    if (request.command == MouseRequest::Profile) {
        // As the slot menu does, through the same queue on the session.
        const int index = request.number - 1;
        switchSlot(index, false);
        selectOnMouse(index, sent);
        return;
    }
    if (request.command == MouseRequest::Dpi) {
        const MouseOutcome check = checkDpiStage(w.activeProfile(), request.number);
        if (check.kind != MouseOutcome::Done) {
            answer(check);
            return;
        }
        slotRefreshDPIStage(quint8(request.number - 1));
        send(false, false, sent);
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
        collectPages();
    }
    send(request.everything, false, [answer, refused](int result) {
        MouseOutcome outcome = outcomeOfSend(result);
        outcome.refusedNames = refused;
        answer(outcome);
    });
}
