// SPDX-License-Identifier: GPL-3.0-or-later
#include "OsdNotifier.h"

#include "OsdLog.h"
#include "OsdWindow.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

Q_LOGGING_CATEGORY(lcOsd, "mousecfg.osd", QtInfoMsg)

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

OsdNotifier::OsdNotifier(const QString &appName, QObject *parent)
    : QObject(parent), m_appName(appName) {}

bool OsdNotifier::needed() {
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

void OsdNotifier::showMessage(const OsdMessage &message) {
    // Nothing to say (an unknown report rate, say): no empty notification.
    if (message.text.trimmed().isEmpty())
        return;
    if (m_sending)
        m_waiting = message;
    else
        send(message);
}

void OsdNotifier::send(const OsdMessage &message) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        noService(bus.lastError().message());
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    // A passing state, not news: the desktop need not keep it in its list.
    const QVariantMap hints{{QStringLiteral("transient"), true}};
    call << m_appName << m_shownId << QString() << message.text << QString() << QStringList()
         << hints << qint32(OsdWindow::boundedTime(message.displayTime));
    m_sending = true;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &OsdNotifier::sent);
}

void OsdNotifier::sent(QDBusPendingCallWatcher *call) {
    call->deleteLater();
    m_sending = false;
    const QDBusPendingReply<quint32> reply = *call;
    if (reply.isError())
        noService(reply.error().message());
    else
        m_shownId = reply.value();
    if (m_waiting) {
        const OsdMessage next = *m_waiting;
        m_waiting.reset();
        send(next);
    }
}

void OsdNotifier::noService(const QString &why) {
    m_shownId = 0;
    if (m_toldNoService)
        return;
    m_toldNoService = true;
    qCDebug(lcOsd, "OSD: no desktop notifications (%s), texts are dropped", qPrintable(why));
}
