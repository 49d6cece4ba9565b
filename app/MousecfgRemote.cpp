// The command line's requests: while the window runs, the command line hands each request to
// it on a local socket, and the window carries it out as its own commands do, so that only
// one program ever talks to the mouse. The socket lies in the user's runtime folder, open to
// its owner only, and a peer of another user is turned away as well.
#include "AppConfig.h"
#include "DeviceThreads.h"
#include "HidTransport.h"
#include "KelPushButton.h"
#include "LocalStream.h"
#include "ModelDescriptor.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "UserRuntimeDir.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QThread>
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
        qDebug().noquote() << "command line socket:" << m_remote->errorString();
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
        answer(socket, performRemote(request));
        return;
    }
    m_remoteQueue.append({socket, request, m_remoteClock.elapsed()});
    // Carried out from the event loop, not from inside the socket's signal: a send runs an
    // event loop of its own, in which an answered socket may be deleted.
    m_remoteTimer->start(0);
}

bool MousecfgWidget::remoteBusy() const {
    // A send owns the working set and the mouse; an open dialog (a question, a file dialog,
    // a progress) is the user's and must not find the state changed under it.
    return m_sending || QApplication::activeModalWidget() || QApplication::activePopupWidget();
}

void MousecfgWidget::runRemoteQueue() {
    // One request at a time; a send inside one runs an event loop that may bring the next.
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
        if (m_connectedCount == 0) {
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
        const MouseOutcome outcome = performRemote(taken.request);
        m_remoteRunning = false;
        answer(taken.socket, outcome);
    }
}

MouseOutcome MousecfgWidget::remoteStatus() const {
    if (m_connectedCount == 0)
        return MouseOutcome::of(MouseOutcome::NoMouse);
    MouseStatus status = m_battery;
    setStatusLink(status, deviceMatchTable().entries[0]);
    setStatusProfile(status, workingSet());
    const bool reading = status.batteryKnown && !status.asleep && !mouseOffline();
    MouseOutcome outcome = MouseOutcome::of(reading ? MouseOutcome::Done : MouseOutcome::MouseOff);
    outcome.data = statusObject(status);
    return outcome;
}

MouseOutcome MousecfgWidget::remoteTakeIn(const QString &path) {
    ProfileSet &w = workingSet();
    const MouseOutcome outcome = importIntoSet(m_library, w, path);
    if (outcome.kind == MouseOutcome::Done) {
        rebuildLibraryMenu();
        setWheelPictures();
        m_slotBtn->setText(m_slotActions[w.activeIndex()]->text());
        refreshPages();
    }
    return outcome;
}

MouseOutcome MousecfgWidget::remoteSwitchProfile(int index) {
    switchSlot(index, false);
    // As the slot menu: the mouse is told from a worker, so that the window never waits for
    // the device; here the answer is waited for with the window's events going on.
    int result = ResultDone;
    QThread *worker = QThread::create([index, &result] { result = SwitchProfile(index); });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    if (!worker->isFinished())
        loop.exec();
    worker->wait();
    delete worker;
    return outcomeOfSend(result);
}

MouseOutcome MousecfgWidget::performRemote(const MouseRequest &request) {
    ProfileSet &w = workingSet();
    switch (request.command) {
    case MouseRequest::List: {
        MouseOutcome outcome =
            MouseOutcome::of(m_connectedCount > 0 ? MouseOutcome::Done : MouseOutcome::NoMouse);
        outcome.data.insert(QStringLiteral("mice"), presentMice(deviceMatchTable()));
        return outcome;
    }
    case MouseRequest::Status:
        return remoteStatus();
    case MouseRequest::Export:
        return exportFromSet(w, request.path);
    case MouseRequest::Invalid:
        return MouseOutcome::of(MouseOutcome::BadFile);
    case MouseRequest::Import: {
        const MouseOutcome outcome = remoteTakeIn(request.path);
        if (outcome.kind == MouseOutcome::Done) {
            // Saved but not sent: the next send sends all of it.
            saveAppliedState(w);
            writeDiffFlag(1);
        }
        return outcome;
    }
    default:
        break;
    }
    // The commands that send: nothing changes unless the mouse is there and awake.
    if (m_connectedCount == 0)
        return MouseOutcome::of(MouseOutcome::NoMouse);
    if (mouseOffline())
        return MouseOutcome::of(MouseOutcome::MouseOff);
    if (request.command == MouseRequest::Profile)
        return remoteSwitchProfile(request.number - 1);
    if (request.command == MouseRequest::Dpi) {
        const MouseOutcome check = checkDpiStage(w.activeProfile(), request.number);
        if (check.kind != MouseOutcome::Done)
            return check;
        slotRefreshDPIStage(quint8(request.number - 1));
        return outcomeOfSend(send(false, false));
    }
    // apply: a file is taken in first; without one, what the window holds goes, as on Apply.
    MouseOutcome taken;
    if (!request.path.isEmpty()) {
        taken = remoteTakeIn(request.path);
        if (taken.kind != MouseOutcome::Done)
            return taken;
    } else {
        collectPages();
    }
    MouseOutcome sent = outcomeOfSend(send(request.everything, false));
    sent.refusedNames = taken.refusedNames;
    return sent;
}
