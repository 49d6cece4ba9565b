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
#include <QMetaType>
#include <QString>

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

class OsdChannel {
public:
    // Bounds of one show() call. Starting the program is tried up to kStartAttempts times,
    // each followed by up to kAttemptWait ms of looking for its server.
    static constexpr int kStartAttempts = 5;
    static constexpr int kAttemptWait = 500;

    // programPath: the OSD program to start when none is running; empty means "OSD" in the
    // application directory.
    explicit OsdChannel(const QString &productName, const QString &programPath = QString());

    // The socket path the texts go to (osdServerPath of the product).
    QString serverName() const { return m_serverName; }
    QString programPath() const { return m_programPath; }

    // Hands the text to the OSD program and returns when the record is written. When no
    // program is listening and the OSD program exists and is executable, it is started
    // detached and looked for again: at most kStartAttempts rounds of kAttemptWait ms, and
    // the program is started again only when the copy started before has ended. Without an
    // OSD program nothing is shown and the call returns at once. True when the record was
    // delivered.
    bool show(const QString &text, const QColor &colour);

    // The process started by the last show() that had to start one; 0 when none was.
    qint64 startedProcessId() const { return m_startedPid; }

private:
    QString m_serverName;
    QString m_programPath;
    qint64 m_startedPid = 0;
};
