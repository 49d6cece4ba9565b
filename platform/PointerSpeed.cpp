// SPDX-License-Identifier: GPL-3.0-or-later
// The host's pointer speed: which desktop's way the session takes, the 1..20 scale against
// libinput's −1..1, and the hand-over to that desktop's read and write.
#include "PointerSpeed.h"
#include "PointerSpeedBackends.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QtMath>

namespace PointerSpeed {

namespace {

// A Wayland session: XDG_SESSION_TYPE says so in any case, or, where it names neither Wayland
// nor X11 (a session started from a console, "tty"), WAYLAND_DISPLAY is set.
bool waylandSession(const QProcessEnvironment &env) {
    const QString session = env.value(QStringLiteral("XDG_SESSION_TYPE")).toLower();
    if (session == QLatin1String("wayland"))
        return true;
    return session != QLatin1String("x11") &&
           !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

// An X11 session: not Wayland's, and with a display (startx from a console names none).
bool x11Session(const QProcessEnvironment &env) {
    return !waylandSession(env) && !env.value(QStringLiteral("DISPLAY")).isEmpty();
}

} // namespace

Backend chooseBackend(const QProcessEnvironment &env) {
    const QStringList desktops = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"))
                                     .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const auto running = [&desktops](const char *name) {
        return desktops.contains(QLatin1String(name), Qt::CaseInsensitive);
    };
    // GNOME keeps the speed in GSettings whether the session is Wayland or X11, and puts it
    // back over any X setting of ours; desktops built on it name it in the list
    // ("ubuntu:GNOME", "Budgie:GNOME"), or not (elementary's Pantheon, Unity).
    if (running("GNOME") || running("Pantheon") || running("Unity"))
        return Gnome;
    if (running("KDE"))
        return Kde;
    if (running("sway") || !env.value(QStringLiteral("SWAYSOCK")).isEmpty())
        return Sway;
    // Under another Wayland desktop, X calls reach only XWayland's clients.
    return x11Session(env) ? X11 : None;
}

Backend activeBackend() {
    return chooseBackend(QProcessEnvironment::systemEnvironment());
}

QString backendName() {
    switch (activeBackend()) {
    case X11:
        return QStringLiteral("x11");
    case Gnome:
        return QStringLiteral("gnome");
    case Kde:
        return QStringLiteral("kde");
    case Sway:
        return QStringLiteral("sway");
    case None:
        break;
    }
    return QStringLiteral("none");
}

double libinputFromSpeed(int speed) {
    return double(qBound(kMinSpeed, speed, kMaxSpeed) - kDefaultSpeed) / 10.0;
}

int speedFromLibinput(double value) {
    if (qIsNaN(value))
        return kDefaultSpeed;
    return qBound(kMinSpeed, kDefaultSpeed + qRound(qBound(-1.0, value, 1.0) * 10.0), kMaxSpeed);
}

QString libinputText(double value) {
    return QString::number(value, 'f', 3);
}

int readSpeed() {
    switch (activeBackend()) {
    case X11:
        return readX11Speed();
    case Gnome:
        return readGnomeSpeed();
    case Kde:
        return readKdeSpeed();
    case Sway:
        return readSwaySpeed();
    case None:
        break;
    }
    return kDefaultSpeed;
}

std::optional<int> readSpeedNowOrLater(QObject *context, const std::function<void(int)> &later) {
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    switch (chooseBackend(env)) {
    case Sway:
        readSwaySpeedLater(context, later);
        return std::nullopt;
    case Kde:
        // On Wayland KWin keeps each pointer's speed, and System Settings changes it there.
        if (waylandSession(env)) {
            readKdeSpeedLater(context, later);
            return std::nullopt;
        }
        break;
    case None:
        // Nothing to read: the slot keeps its own speed.
        return std::nullopt;
    default:
        break;
    }
    return readSpeed();
}

Result writeSpeed(int speed) {
    if (speed < kMinSpeed || speed > kMaxSpeed)
        return OutOfRange;
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Result result = Unsupported;
    switch (chooseBackend(env)) {
    case X11:
        result = writeX11Speed(speed);
        break;
    case Gnome:
        result = writeGnomeSpeed(speed);
        break;
    case Kde:
        result = writeKdeSpeed(speed, x11Session(env));
        break;
    case Sway:
        result = writeSwaySpeed(speed);
        break;
    case None:
        break;
    }
    qCDebug(lcPlatform, "pointer speed %d through %s: result %d", speed, qPrintable(backendName()),
            int(result));
    return result;
}

void settle(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    syncGnomeWrites();
    QTimer wake; // the loop looks at the clock at least this often
    wake.start(20);
    while (pendingKdeCalls() > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace PointerSpeed
