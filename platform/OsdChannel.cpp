// SPDX-License-Identifier: GPL-3.0-or-later
#include "OsdChannel.h"

#include "PlatformLog.h"
#include "UserRuntimeDir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QProcess>
#include <QStringList>
#include <QtEndian>
#include <array>

Q_LOGGING_CATEGORY(lcPlatform, "mousecfg.platform", QtInfoMsg)

namespace {

constexpr int kTextOffset = 0;
constexpr int kStringBytes = 512; // 256 UTF-16 units, the last one always NUL
constexpr int kReserved1Offset = 512;
constexpr int kTimeOffset = 516;
constexpr int kReserved2Offset = 520;
constexpr int kColourOffset = 524;
constexpr int kHeightOffset = 528;
constexpr int kFontOffset = 532;

// How long the destructor gives its OSD program to end after asking (ms), and then after
// forcing, which it cannot hold off.
constexpr int kStopWait = 10;
constexpr int kKilledWait = 2000;

using RecordBytes = std::array<uchar, kOsdRecordSize>;

void putString(RecordBytes &record, int offset, const QString &text) {
    uchar *out = record.data() + offset;
    for (int i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), out + 2 * i);
}

QString getString(const QByteArray &record, int offset) {
    const auto *in = reinterpret_cast<const uchar *>(record.constData() + offset);
    QString text;
    for (int i = 0; i < kStringBytes / 2; ++i) {
        const quint16 unit = qFromLittleEndian<quint16>(in + 2 * i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

void put32(RecordBytes &record, int offset, quint32 value) {
    qToLittleEndian<quint32>(value, record.data() + offset);
}

quint32 get32(const QByteArray &record, int offset) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(record.constData() + offset));
}

} // namespace

QByteArray osdRecord(const QString &text, const QColor &colour) {
    QString shown = text.left(kOsdMaxTextLength);
    if (shown.size() == kOsdMaxTextLength && shown.at(kOsdMaxTextLength - 1).isHighSurrogate())
        shown.chop(1);

    RecordBytes record{};
    putString(record, kTextOffset, shown);
    put32(record, kReserved1Offset, 0);
    put32(record, kTimeOffset, kOsdDisplayTime);
    put32(record, kReserved2Offset, 0);
    put32(record, kColourOffset,
          quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16);
    put32(record, kHeightOffset, kOsdTextHeight);
    putString(record, kFontOffset, QStringLiteral("Arial"));
    return QByteArray(reinterpret_cast<const char *>(record.data()), kOsdRecordSize);
}

bool parseOsdRecord(const QByteArray &record, OsdMessage &message) {
    if (record.size() != kOsdRecordSize)
        return false;
    message.text = getString(record, kTextOffset);
    message.displayTime = get32(record, kTimeOffset);
    const quint32 colour = get32(record, kColourOffset);
    message.colour = QColor(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF));
    message.textHeight = get32(record, kHeightOffset);
    message.fontFace = getString(record, kFontOffset);
    return true;
}

QString osdTitle(const QString &productName) {
    return productName + QStringLiteral(" Wireless Mouse OSD");
}

QString osdServerPath(const QString &productName) {
    return userRuntimeFile(osdTitle(productName));
}

OsdChannel::OsdChannel(const QString &productName, const QString &programPath, QObject *parent)
    : QObject(parent), m_serverName(osdServerPath(productName)),
      m_programPath(programPath.isEmpty()
                        ? QCoreApplication::applicationDirPath() + QStringLiteral("/OSD")
                        : programPath) {
    m_retry.setInterval(kRetryInterval);
    connect(&m_retry, &QTimer::timeout, this, &OsdChannel::retry);
}

OsdChannel::~OsdChannel() {
    if (!m_helper || m_helper->state() == QProcess::NotRunning)
        return;
    // The program would also end once its input closes, but its window should go with ours.
    m_helper->disconnect(this);
    m_helper->terminate();
    if (!m_helper->waitForFinished(kStopWait)) {
        // Killed, it is gone within a moment even on a busy machine: waited for, so that Qt
        // has nothing running to warn about when the process object goes.
        m_helper->kill();
        m_helper->waitForFinished(kKilledWait);
    }
}

qint64 OsdChannel::helperProcessId() const {
    return m_helper && m_helper->state() != QProcess::NotRunning ? m_helper->processId() : 0;
}

void OsdChannel::show(const QString &text, const QColor &colour) {
    m_pending.append({text, osdRecord(text, colour)});
    if (m_pending.size() > kMaxQueued) {
        qCDebug(lcPlatform) << "OSD: dropped" << m_pending.first().text << "for a newer text";
        m_pending.removeFirst();
    }
    if (deliverPending() || m_retry.isActive())
        return;
    if (!startHelper()) {
        dropPending("there is no OSD program to start");
        return;
    }
    // A start that failed at once has dropped the texts already.
    if (m_pending.isEmpty())
        return;
    m_giveUp.setRemainingTime(kGiveUpAfter);
    m_retry.start();
}

bool OsdChannel::deliverTo(const QByteArray &record) {
    // A local connect succeeds or fails at once. A server whose backlog is full is not waited
    // for: the record goes again on the next try, on a connection of its own.
    auto *socket = new QLocalSocket(this);
    socket->connectToServer(m_serverName);
    // A server of another user (a name taken in a shared folder) is none of ours.
    if (socket->state() != QLocalSocket::ConnectedState ||
        !peerIsThisUser(socket->socketDescriptor())) {
        socket->abort();
        delete socket;
        return false;
    }
    // What the server takes now is written now (a new connection takes a record at once);
    // anything left goes from the event loop, and the socket closes once it has gone or the
    // server has.
    socket->write(record);
    socket->flush();
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::errorOccurred, socket, &QObject::deleteLater);
    socket->disconnectFromServer();
    return true;
}

bool OsdChannel::deliverPending() {
    QStringList sent;
    while (!m_pending.isEmpty() && deliverTo(m_pending.first().record))
        sent.append(m_pending.takeFirst().text);
    for (const QString &text : qAsConst(sent))
        emit delivered(text);
    return m_pending.isEmpty();
}

bool OsdChannel::startHelper() {
    if (m_helper && m_helper->state() != QProcess::NotRunning)
        return true;
    const QFileInfo program(m_programPath);
    if (!program.isFile() || !program.isExecutable())
        return false;
    if (!m_helper) {
        m_helper = new QProcess(this);
        // Its messages go where ours go; its input is the pipe it watches.
        m_helper->setProcessChannelMode(QProcess::ForwardedChannels);
        connect(m_helper, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
                &OsdChannel::helperEnded);
        connect(m_helper, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                helperEnded();
        });
    }
    m_helper->setWorkingDirectory(program.absolutePath());
    m_helper->start(program.absoluteFilePath(), {QString::fromLatin1(kOsdWatchInputOption)});
    return true;
}

void OsdChannel::retry() {
    if (deliverPending())
        m_retry.stop();
    else if (m_giveUp.hasExpired())
        dropPending("the OSD program did not listen in time");
}

void OsdChannel::helperEnded() {
    // A copy that found another one serving the name ends at once: that one takes the texts.
    if (!deliverPending())
        dropPending("the OSD program ended");
}

void OsdChannel::dropPending(const char *reason) {
    m_retry.stop();
    if (m_pending.isEmpty())
        return;
    qCDebug(lcPlatform) << "OSD: dropped" << m_pending.size() << "texts:" << reason;
    m_pending.clear();
}
