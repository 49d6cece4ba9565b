// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The on-screen display: a separate program ("OSD", beside the executable) that shows short
// texts such as a new DPI stage on top of everything. It listens on a local socket named by
// its title, "<product> Wireless Mouse OSD", in the user's runtime folder (each logged-in
// user has an OSD of their own, on their own screen), and takes fixed-size records.
//
// The record, 1,044 bytes, little-endian:
//   0    512  text, UTF-16, NUL-terminated, at most 255 characters
//   512    4  0
//   516    4  display time in milliseconds, 1500
//   520    4  0
//   524    4  text colour, red + green * 256 + blue * 65536
//   528    4  text height, 60
//   532  512  font face, UTF-16, NUL-terminated, "Arial"

#include <QByteArray>
#include <QColor>
#include <QDeadlineTimer>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QTimer>

class QProcess;

constexpr int kOsdRecordSize = 1044;
constexpr int kOsdMaxTextLength = 255;
constexpr int kOsdDisplayTime = 1500;
constexpr int kOsdTextHeight = 60;

// The record for a text in a colour. Longer texts are cut to 255 characters (never in the
// middle of a surrogate pair).
QByteArray osdRecord(const QString &text, const QColor &colour);

// A record read back.
struct OsdMessage {
    QString text;
    quint32 displayTime = 0; // milliseconds
    QColor colour;
    quint32 textHeight = 0;
    QString fontFace;
};
Q_DECLARE_METATYPE(OsdMessage)

// Reads a record; false when the data is not exactly one record long.
bool parseOsdRecord(const QByteArray &record, OsdMessage &message);

// The OSD window's title: the product name and " Wireless Mouse OSD".
QString osdTitle(const QString &productName);
// The socket the OSD program listens on: the title, in the user's runtime folder.
QString osdServerPath(const QString &productName);

// The option the channel starts the OSD program with: the program then ends when its standard
// input ends. The channel holds the other end of that pipe, and the kernel closes it when the
// configuration program ends, however it ends (a crash, a logout's SIGTERM, SIGKILL).
constexpr char kOsdWatchInputOption[] = "--watch-stdin";

// Sends texts to the OSD program, starting it when none listens. Nothing here sleeps or waits:
// show() returns at once, and texts the program cannot take yet wait in a queue that a timer
// tries again.
class OsdChannel : public QObject {
    Q_OBJECT

public:
    // Texts waiting for the OSD program: at most kMaxQueued, the oldest dropped first.
    static constexpr int kMaxQueued = 16;
    // While texts wait, they are offered again every kRetryInterval ms, and dropped when the
    // program has not listened kGiveUpAfter ms after the waiting began.
    static constexpr int kRetryInterval = 25;
    static constexpr int kGiveUpAfter = 4000;

    // programPath: the OSD program to start when none is running; empty means "OSD" in the
    // application directory.
    explicit OsdChannel(const QString &productName, const QString &programPath = QString(),
                        QObject *parent = nullptr);
    // Ends the OSD program this channel started, waiting a few milliseconds at most.
    ~OsdChannel() override;

    // The socket path the texts go to (osdServerPath of the product).
    QString serverName() const { return m_serverName; }
    QString programPath() const { return m_programPath; }

    // Hands the text to the OSD program and returns at once. When the program listens, the
    // record is written before this returns. Otherwise the text waits behind the ones already
    // waiting, and the program is started as a child of this process unless the copy this
    // channel started is still running; a copy that finds another one serving ends, and the
    // texts go to the one that serves. Texts are dropped when the program ends or does not
    // listen in time, and at once when there is no program to start.
    void show(const QString &text, const QColor &colour);

    // The OSD program this channel started, while it runs; 0 otherwise.
    qint64 helperProcessId() const;

signals:
    // A text's record was handed to the OSD program.
    void delivered(const QString &text);

private:
    struct Pending {
        QString text;
        QByteArray record;
    };

    // Hands one record to the program if it listens now; false when it does not.
    bool deliverTo(const QByteArray &record);
    // Delivers the waiting texts in order; true when none is left.
    bool deliverPending();
    // False when there is no program to start.
    bool startHelper();
    void retry();
    void helperEnded();
    void dropPending(const char *reason);

    QString m_serverName;
    QString m_programPath;
    QList<Pending> m_pending;
    QTimer m_retry;
    QDeadlineTimer m_giveUp;
    QProcess *m_helper = nullptr;
};
