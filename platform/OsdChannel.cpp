#include "OsdChannel.h"

#include "LocalStream.h"
#include "UserRuntimeDir.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QtEndian>
#include <array>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

constexpr int kTextOffset = 0;
constexpr int kStringBytes = 512; // 256 UTF-16 units, the last one always NUL
constexpr int kReserved1Offset = 512;
constexpr int kTimeOffset = 516;
constexpr int kReserved2Offset = 520;
constexpr int kColourOffset = 524;
constexpr int kHeightOffset = 528;
constexpr int kFontOffset = 532;

constexpr int kConnectTimeout = 100; // a local connect succeeds or fails at once
constexpr int kWriteTimeout = 500;
constexpr int kPollInterval = 20;

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

// Whether a process we started has not ended yet. A detached process is not our child;
// once it ends it is reaped by someone else, or lingers as a zombie of its new parent.
bool processRunning(qint64 pid) {
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    return close < 0 || close + 2 >= line.size() || line.at(close + 2) != 'Z';
}

enum class Delivery { NoServer, Sent, Failed };

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

OsdChannel::OsdChannel(const QString &productName, const QString &programPath)
    : m_serverName(osdServerPath(productName)),
      m_programPath(programPath.isEmpty()
                        ? QCoreApplication::applicationDirPath() + QStringLiteral("/OSD")
                        : programPath) {}

namespace {

Delivery deliverTo(const QString &serverName, const QByteArray &record, int connectTimeout) {
    const int fd = LocalStream::connectTo(serverName, connectTimeout);
    if (fd < 0)
        return Delivery::NoServer;
    const bool written = LocalStream::writeAll(fd, record, kWriteTimeout);
    ::close(fd);
    return written ? Delivery::Sent : Delivery::Failed;
}

} // namespace

bool OsdChannel::show(const QString &text, const QColor &colour) {
    const QByteArray record = osdRecord(text, colour);
    Delivery result = deliverTo(m_serverName, record, kConnectTimeout);

    if (result == Delivery::NoServer) {
        const QFileInfo program(m_programPath);
        // Without the program there is nothing to wait for.
        if (!program.isFile() || !program.isExecutable())
            return false;
        qint64 started = 0;
        for (int attempt = 0; attempt < kStartAttempts && result == Delivery::NoServer; ++attempt) {
            // A copy that is still starting is given time rather than a twin.
            if (!processRunning(started)) {
                if (!QProcess::startDetached(program.absoluteFilePath(), {}, program.absolutePath(),
                                             &started))
                    return false;
                m_startedPid = started;
            }
            QElapsedTimer clock;
            clock.start();
            do {
                QThread::msleep(kPollInterval);
                const int left = kAttemptWait - int(clock.elapsed());
                result = deliverTo(m_serverName, record, qBound(1, left, kConnectTimeout));
            } while (result == Delivery::NoServer && clock.elapsed() < kAttemptWait);
        }
    }

    if (result == Delivery::Failed)
        qDebug("SendMessage failed\n");
    return result == Delivery::Sent;
}
