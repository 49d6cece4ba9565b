#pragma once
// Unix-domain stream sockets on the bare system calls: a listening server with its
// connections, driven by the Qt event loop, and a blocking client for one-shot messages. The
// configuration program talks to the command line and to the OSD through these; it needs
// nothing of QtNetwork (and the libraries it loads) for a socket in the user's own folder.

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// One connection, over a descriptor it owns. Input is read as it comes, into a buffer of at
// most readBufferSize() bytes (beyond that the rest waits in the kernel until the buffer is
// read); output is queued and written whenever the peer takes it.
class LocalStreamConnection : public QObject {
    Q_OBJECT
public:
    // fd: a connected, non-blocking stream socket; closed by this object.
    explicit LocalStreamConnection(int fd, QObject *parent = nullptr);
    ~LocalStreamConnection() override;

    // The descriptor while connected (also while closing), -1 after.
    int descriptor() const { return m_fd; }
    // Connected and not closing: an answer written now can reach the peer.
    bool isConnected() const { return m_state == Connected; }

    // 0: no bound. A smaller bound than what is buffered keeps what is there.
    void setReadBufferSize(qint64 size);
    qint64 readBufferSize() const { return m_readLimit; }
    qint64 bytesAvailable() const { return m_in.size(); }
    bool canReadLine() const { return m_in.contains('\n'); }
    // Up to and including the first newline, but at most maxSize bytes.
    QByteArray readLine(qint64 maxSize);
    QByteArray readAll();

    // Queues data; -1 when not connected.
    qint64 write(const QByteArray &data);
    qint64 bytesToWrite() const { return m_out.size(); }
    // Closes once what is queued has been written; at once when nothing is.
    void disconnectFromServer();
    // Closes at once; what is queued is dropped.
    void abort();

signals:
    void readyRead();
    // Emitted once, when the peer has gone or this end has closed.
    void disconnected();

private:
    enum State { Connected, Closing, Unconnected };

    void onReadable();
    void onWritable();
    // False when the peer has gone (the connection is then closed).
    bool flush();
    void updateReading();
    void closeNow();

    int m_fd = -1;
    State m_state = Connected;
    QByteArray m_in;
    QByteArray m_out;
    qint64 m_readLimit = 0;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
};

// Listens on a socket file that only its owner may connect to (mode 0600, whatever the
// umask). Each accepted connection is handed out through newConnection(), as a child of the
// server; whoever takes it deletes it (deleteLater() once disconnected).
class LocalStreamServer : public QObject {
    Q_OBJECT
public:
    explicit LocalStreamServer(QObject *parent = nullptr);
    ~LocalStreamServer() override;

    // Fails when a file is already at the path (remove a stale one first) or the path does not
    // fit a socket address.
    bool listen(const QString &path);
    bool isListening() const { return m_fd >= 0; }
    // Stops listening and removes the socket file; connections already made stay.
    void close();
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

signals:
    void newConnection(LocalStreamConnection *connection);

private:
    void acceptAll();

    int m_fd = -1;
    QString m_path;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
};

namespace LocalStream {

// The longest socket path in bytes (as the file system encodes it) that a socket address holds.
int maxPathLength();

// A connected, non-blocking, close-on-exec descriptor to the server at path; -1 when none is
// there (no file, or nobody listening), the path does not fit, or the server takes no new
// connection within timeoutMs.
int connectTo(const QString &path, int timeoutMs);

// Writes all of data to a connected, non-blocking descriptor; false when the peer has gone or
// does not take all of it within timeoutMs. A peer that has gone raises no SIGPIPE.
bool writeAll(int fd, const QByteArray &data, int timeoutMs);

} // namespace LocalStream
