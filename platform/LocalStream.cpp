#include "LocalStream.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kBacklog = 50;
// What one read notification takes at most, so that a busy peer cannot hold the event loop.
constexpr qint64 kReadPerWakeup = 64 * 1024;
// After running out of descriptors, the server waits this long before accepting again.
constexpr int kAcceptPauseMs = 100;
// A server whose backlog is full is asked again after this long.
constexpr int kConnectRetryMs = 5;

bool socketAddress(const QString &path, sockaddr_un &address, socklen_t &length) {
    const QByteArray encoded = QFile::encodeName(path);
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || encoded.contains('\0') ||
        size_t(encoded.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(encoded.size()) + 1);
    return true;
}

// Waits for events on fd until the deadline; true when poll() reports any (an error or hang-up
// too: the call that follows finds out which).
bool waitFor(int fd, short events, const QDeadlineTimer &deadline) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int left = int(qMin<qint64>(deadline.remainingTime(), INT_MAX));
        const int ready = ::poll(&p, 1, left);
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

void closeDescriptor(int fd) {
    // Linux releases the descriptor even when close() is interrupted: it is never retried.
    ::close(fd);
}

} // namespace

// ---------------------------------------------------------------- connection

LocalStreamConnection::LocalStreamConnection(int fd, QObject *parent) : QObject(parent), m_fd(fd) {
    if (m_fd < 0) {
        m_state = Unconnected;
        return;
    }
    m_readNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, [this] { onReadable(); });
    m_writeNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, [this] { onWritable(); });
}

LocalStreamConnection::~LocalStreamConnection() {
    closeNow();
}

void LocalStreamConnection::setReadBufferSize(qint64 size) {
    m_readLimit = qMax<qint64>(0, size);
    updateReading();
}

QByteArray LocalStreamConnection::readLine(qint64 maxSize) {
    const int newline = m_in.indexOf('\n');
    qint64 size = newline < 0 ? m_in.size() : newline + 1;
    if (maxSize > 0)
        size = qMin(size, maxSize);
    const QByteArray line = m_in.left(int(size));
    m_in.remove(0, int(size));
    updateReading();
    return line;
}

QByteArray LocalStreamConnection::readAll() {
    QByteArray all;
    all.swap(m_in);
    updateReading();
    return all;
}

qint64 LocalStreamConnection::write(const QByteArray &data) {
    if (m_state != Connected)
        return -1;
    // Written from the event loop, as the peer takes it: the caller never sees the peer go
    // from inside write().
    m_out += data;
    if (!m_out.isEmpty())
        m_writeNotifier->setEnabled(true);
    return data.size();
}

void LocalStreamConnection::disconnectFromServer() {
    if (m_state != Connected)
        return;
    if (!m_out.isEmpty()) {
        m_state = Closing;
        updateReading();
        return;
    }
    closeNow();
    emit disconnected();
}

void LocalStreamConnection::abort() {
    if (m_state == Unconnected)
        return;
    closeNow();
    emit disconnected();
}

void LocalStreamConnection::onReadable() {
    bool received = false;
    bool gone = false;
    qint64 taken = 0;
    char chunk[16 * 1024];
    while (m_state == Connected && taken < kReadPerWakeup) {
        qint64 room = qint64(sizeof chunk);
        if (m_readLimit > 0)
            room = qMin(room, m_readLimit - m_in.size());
        if (room <= 0)
            break;
        const ssize_t n = ::recv(m_fd, chunk, size_t(room), 0);
        if (n > 0) {
            m_in.append(chunk, int(n));
            taken += n;
            received = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // End of stream, or the peer reset it (it closed with our data unread).
        gone = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    updateReading();
    // A slot may delete this connection, or close it.
    QPointer<LocalStreamConnection> self(this);
    if (received)
        emit readyRead();
    if (gone && self && m_state != Unconnected) {
        closeNow();
        emit disconnected();
    }
}

void LocalStreamConnection::onWritable() {
    const bool peerThere = flush();
    if (!peerThere || (m_out.isEmpty() && m_state == Closing)) {
        closeNow();
        emit disconnected();
    }
}

bool LocalStreamConnection::flush() {
    qint64 sent = 0;
    while (sent < m_out.size()) {
        // MSG_NOSIGNAL: a peer that has gone is an error here, not a SIGPIPE.
        const ssize_t n =
            ::send(m_fd, m_out.constData() + sent, size_t(m_out.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        return false;
    }
    m_out.remove(0, int(sent));
    m_writeNotifier->setEnabled(!m_out.isEmpty());
    return true;
}

void LocalStreamConnection::updateReading() {
    if (m_readNotifier)
        m_readNotifier->setEnabled(m_state == Connected &&
                                   (m_readLimit == 0 || m_in.size() < m_readLimit));
}

void LocalStreamConnection::closeNow() {
    m_state = Unconnected;
    m_out.clear();
    if (m_fd < 0)
        return;
    // The notifiers stop watching before the descriptor is closed (its number may be reused at
    // once). They may be in the middle of their own signal here, so they go later.
    for (QSocketNotifier *notifier : {m_readNotifier, m_writeNotifier}) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    m_readNotifier = nullptr;
    m_writeNotifier = nullptr;
    closeDescriptor(m_fd);
    m_fd = -1;
}

// ---------------------------------------------------------------- server

LocalStreamServer::LocalStreamServer(QObject *parent) : QObject(parent) {}

LocalStreamServer::~LocalStreamServer() {
    close();
}

bool LocalStreamServer::listen(const QString &path) {
    if (isListening()) {
        m_error = QStringLiteral("already listening on %1").arg(m_path);
        return false;
    }
    sockaddr_un address;
    socklen_t length = 0;
    if (!socketAddress(path, address, length)) {
        m_error = QStringLiteral("socket path longer than %1 bytes: %2")
                      .arg(LocalStream::maxPathLength())
                      .arg(path);
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        m_error = qt_error_string(errno);
        return false;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0) {
        m_error = qt_error_string(errno);
        closeDescriptor(fd);
        return false;
    }
    // Nobody can connect before listen(): the file becomes the owner's alone first, whatever
    // the umask made it.
    if (::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kBacklog) != 0) {
        m_error = qt_error_string(errno);
        ::unlink(address.sun_path);
        closeDescriptor(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_error.clear();
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { acceptAll(); });
    return true;
}

void LocalStreamServer::close() {
    if (m_fd < 0)
        return;
    m_notifier->setEnabled(false);
    m_notifier->deleteLater();
    m_notifier = nullptr;
    closeDescriptor(m_fd);
    m_fd = -1;
    QFile::remove(m_path);
}

void LocalStreamServer::acceptAll() {
    QPointer<LocalStreamServer> self(this);
    while (self && m_fd >= 0) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            emit newConnection(new LocalStreamConnection(fd, this));
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            // Out of descriptors, most likely: the waiting connection stays queued, and the
            // notifier would only fire again at once.
            qWarning().noquote() << "local socket" << m_path << "accept:" << qt_error_string(errno);
            QSocketNotifier *notifier = m_notifier;
            notifier->setEnabled(false);
            QTimer::singleShot(kAcceptPauseMs, notifier, [this, notifier] {
                if (m_notifier == notifier)
                    notifier->setEnabled(true);
            });
        }
        return;
    }
}

// ---------------------------------------------------------------- client

int LocalStream::maxPathLength() {
    return int(sizeof(sockaddr_un::sun_path)) - 1;
}

int LocalStream::connectTo(const QString &path, int timeoutMs) {
    sockaddr_un address;
    socklen_t length = 0;
    if (!socketAddress(path, address, length))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0 ||
            errno == EISCONN)
            return fd;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN && !deadline.hasExpired()) {
            // The server's backlog is full: it is asked again once it had time to accept.
            ::poll(nullptr, 0, int(qMin<qint64>(deadline.remainingTime(), kConnectRetryMs)));
            continue;
        }
        if (errno == EINPROGRESS || errno == EALREADY) {
            int error = 0;
            socklen_t size = sizeof error;
            if (waitFor(fd, POLLOUT, deadline) &&
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
                return fd;
        }
        // No such file, nobody listening (ECONNREFUSED), no access, or no time left.
        closeDescriptor(fd);
        return -1;
    }
}

bool LocalStream::writeAll(int fd, const QByteArray &data, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    qint64 sent = 0;
    while (sent < data.size()) {
        const ssize_t n =
            ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(fd, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}
