// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer speed of KDE Plasma.
//
// kcminputrc [Mouse] XLbInptPointerAcceleration holds the speed Plasma's X11 session gives its
// libinput pointers at login, and what its mouse settings show there. On Wayland KWin owns the
// pointers: each one is an org.kde.KWin.InputDevice object on the session bus, listed by
// org.kde.KWin.InputDeviceManager's devicesSysNames; setting its pointerAcceleration applies
// at once, and KWin itself keeps it in kcminputrc's [Libinput][vendor][product][name] group.
// There the speed is read back from KWin's first mouse, which System Settings changes too.
//
// The file is edited line by line: QSettings would rewrite it whole, reading a nested group
// header such as "[Libinput][1133][16505][G Pro]" as plain "[Libinput]" and dropping the
// comments. KConfig is not one of our libraries.
#include "IniFile.h"
#include "PointerSpeedBackends.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <memory>
#include <optional>

namespace PointerSpeed {
namespace {

const QString kGroup = QStringLiteral("[Mouse]");
const QString kKey = QStringLiteral("XLbInptPointerAcceleration");

const QString kKwin = QStringLiteral("org.kde.KWin");
const QString kDevicesPath = QStringLiteral("/org/kde/KWin/InputDevice");
const QString kManager = QStringLiteral("org.kde.KWin.InputDeviceManager");
const QString kDevice = QStringLiteral("org.kde.KWin.InputDevice");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The line's key when it is an entry ("Key=value", "Key[$e]=value"), else a null string.
QString entryKey(const QString &line) {
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0 || line.startsWith(QLatin1Char('#')))
        return QString();
    QString key = line.left(equals).trimmed();
    const int options = key.indexOf(QLatin1Char('['));
    return options > 0 ? key.left(options) : key;
}

bool isGroupHeader(const QString &line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

QDBusMessage kwinCall(const QString &path, const QString &method) {
    QDBusMessage call = QDBusMessage::createMethodCall(kKwin, path, kProperties, method);
    // Only a running KWin is asked; the bus starts none.
    call.setAutoStartService(false);
    return call;
}

// How long a read waits for KWin's answers.
constexpr int kAnswerTimeoutMs = 5000;
// KDE holds its lock on the file for the few milliseconds of a write.
constexpr int kLockWaitMs = 100;

int g_pendingCalls = 0;

// Calls done(reply) when the answer comes; an error answer is logged and goes to failed.
template <typename Done>
void whenAnswered(const QDBusMessage &call, Done done, const std::function<void()> &failed = {}) {
    auto *watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, kAnswerTimeoutMs));
    ++g_pendingCalls;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [done, failed](QDBusPendingCallWatcher *answered) {
                         answered->deleteLater();
                         --g_pendingCalls;
                         const QDBusMessage reply = answered->reply();
                         if (reply.type() == QDBusMessage::ErrorMessage) {
                             qCDebug(lcPlatform, "pointer speed: KWin: %s",
                                     qPrintable(reply.errorMessage()));
                             if (failed)
                                 failed();
                             return;
                         }
                         done(reply);
                     });
}

// Asks for KWin's list of input devices and hands it to done.
void whenDevicesListed(const std::function<void(const QStringList &)> &done,
                       const std::function<void()> &failed = {}) {
    QDBusMessage get = kwinCall(kDevicesPath, QStringLiteral("Get"));
    get << kManager << QStringLiteral("devicesSysNames");
    whenAnswered(
        get,
        [done](const QDBusMessage &reply) {
            done(qdbus_cast<QDBusVariant>(reply.arguments().value(0)).variant().toStringList());
        },
        failed);
}

// Asks for the properties of one of KWin's devices; done(properties) when it is a mouse-like
// pointer (touchpads keep their own speed), else notMouse().
void whenMouseAnswered(const QString &sysName,
                       const std::function<void(const QString &, const QVariantMap &)> &done,
                       const std::function<void()> &notMouse = {}) {
    const QString path = kDevicesPath + QLatin1Char('/') + sysName;
    QDBusMessage getAll = kwinCall(path, QStringLiteral("GetAll"));
    getAll << kDevice;
    whenAnswered(
        getAll,
        [path, done, notMouse](const QDBusMessage &reply) {
            const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().value(0));
            const bool mouse =
                properties.value(QStringLiteral("pointer")).toBool() &&
                !properties.value(QStringLiteral("touchpad")).toBool() &&
                properties.value(QStringLiteral("supportsPointerAcceleration")).toBool();
            if (mouse)
                done(path, properties);
            else if (notMouse)
                notMouse();
        },
        notMouse);
}

// Sets the acceleration of one of KWin's devices when it is a mouse-like pointer.
void setDeviceAcceleration(const QString &sysName, double value) {
    whenMouseAnswered(sysName, [value](const QString &path, const QVariantMap &) {
        QDBusMessage set = kwinCall(path, QStringLiteral("Set"));
        set << kDevice << QStringLiteral("pointerAcceleration")
            << QVariant::fromValue(QDBusVariant(value));
        whenAnswered(set, [](const QDBusMessage &) {});
    });
}

// Asks KWin, when it runs on the session bus, to give every pointer the value; nothing waits
// for its answers.
void setKwinAcceleration(double value) {
    if (!QDBusConnection::sessionBus().isConnected())
        return;
    whenDevicesListed([value](const QStringList &names) {
        for (const QString &sysName : names)
            setDeviceAcceleration(sysName, value);
    });
}

// The file's text; none when it is there but cannot be read whole (another owner, a read
// error), so that it is never written over from what little was read.
std::optional<QString> readText(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? std::nullopt : std::optional<QString>(QString());
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return QString::fromUtf8(text);
}

} // namespace

int pendingKdeCalls() {
    return g_pendingCalls;
}

QString kcmInputPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kcminputrc");
}

QString withKdeEntry(const QString &text, const QString &groupHeader, const QString &key,
                     const QString &value) {
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final newline leaves an empty last piece; it comes back with the join.
    const bool endsWithNewline = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
    if (endsWithNewline)
        lines.removeLast();
    const QString entry = key + QLatin1Char('=') + value;
    int group = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() == groupHeader) {
            group = i;
            break;
        }
    }
    if (group < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << groupHeader << entry;
    } else {
        // The entry replaces the key's line, or follows the group's last entry.
        int insertAt = group + 1;
        int i = group + 1;
        for (; i < lines.size() && !isGroupHeader(lines[i]); ++i) {
            if (entryKey(lines[i]) == key) {
                lines[i] = entry;
                break;
            }
            if (!lines[i].trimmed().isEmpty())
                insertAt = i + 1;
        }
        if (i >= lines.size() || isGroupHeader(lines[i]))
            lines.insert(insertAt, entry);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString kdeEntry(const QString &text, const QString &groupHeader, const QString &key) {
    bool inGroup = false;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (isGroupHeader(line))
            inGroup = line.trimmed() == groupHeader;
        else if (inGroup && entryKey(line) == key)
            return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return QString();
}

int readKdeSpeed() {
    const QString value = kdeEntry(readText(kcmInputPath()).value_or(QString()), kGroup, kKey);
    bool ok = false;
    const double acceleration = value.toDouble(&ok);
    return ok ? speedFromLibinput(acceleration) : kDefaultSpeed;
}

void readKdeSpeedLater(QObject *context, const std::function<void(int)> &done) {
    // Told once, on context's thread while it lives: the first mouse's speed, or the file's
    // when KWin has no mouse, does not answer or is not there.
    struct Reading {
        QPointer<QObject> context;
        std::function<void(int)> done;
        int fromFile = kDefaultSpeed;
        int unanswered = 0;
        bool told = false;
        void tell(int speed) {
            if (told || !context)
                return;
            told = true;
            done(speed);
        }
    };
    auto reading = std::make_shared<Reading>();
    reading->context = context;
    reading->done = done;
    reading->fromFile = readKdeSpeed();
    auto fromFile = [reading] { reading->tell(reading->fromFile); };
    QTimer::singleShot(kAnswerTimeoutMs, context, fromFile);
    if (!QDBusConnection::sessionBus().isConnected()) {
        QTimer::singleShot(0, context, fromFile);
        return;
    }
    whenDevicesListed(
        [reading, fromFile](const QStringList &names) {
            reading->unanswered = names.size();
            if (names.isEmpty())
                fromFile();
            for (const QString &sysName : names) {
                whenMouseAnswered(
                    sysName,
                    [reading](const QString &, const QVariantMap &properties) {
                        reading->tell(speedFromLibinput(
                            properties.value(QStringLiteral("pointerAcceleration")).toDouble()));
                    },
                    [reading, fromFile] {
                        if (--reading->unanswered == 0)
                            fromFile();
                    });
            }
        },
        fromFile);
}

Result writeKdeSpeed(int speed, bool x11) {
    const double value = libinputFromSpeed(speed);
    setKwinAcceleration(value);
    Result result = Done;
    if (x11)
        result = writeX11Speed(speed);

    const QString path = kcmInputPath();
    // Under the lock KDE's own configuration code takes to write the file (KWin writes it on
    // our call above): neither write loses the other's.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    QLockFile lock((canonical.isEmpty() ? path : canonical) + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        qCDebug(lcPlatform, "pointer speed: %s is locked", qPrintable(path));
        return Failed;
    }
    const std::optional<QString> before = readText(path);
    if (!before) {
        qCDebug(lcPlatform, "pointer speed: cannot read %s", qPrintable(path));
        return Failed;
    }
    const QString after = withKdeEntry(*before, kGroup, kKey, libinputText(value));
    if (after == *before)
        return result;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!writeAtomically(path, after.toUtf8())) {
        qCDebug(lcPlatform, "pointer speed: cannot write %s", qPrintable(path));
        return Failed;
    }
    return result;
}

} // namespace PointerSpeed
