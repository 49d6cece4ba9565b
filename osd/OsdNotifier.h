// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The on-screen text where the desktop lets no window place itself (a Wayland compositor):
// each message becomes a desktop notification through org.freedesktop.Notifications on the
// session bus, replacing the one shown before and expiring after the message's time. With no
// notification service the messages are dropped.

#include "OsdChannel.h"

#include <QObject>
#include <optional>

class QDBusPendingCallWatcher;

class OsdNotifier : public QObject {
    Q_OBJECT

public:
    // appName: the name the desktop shows the notifications under.
    explicit OsdNotifier(const QString &appName, QObject *parent = nullptr);

    // True where a window cannot choose its own place on the screen (Wayland), so a plate
    // would show wherever the compositor puts it.
    static bool needed();

public slots:
    void showMessage(const OsdMessage &message);

private:
    void send(const OsdMessage &message);
    void sent(QDBusPendingCallWatcher *call);
    // Drops the text; the first time, says why in the debug log.
    void noService(const QString &why);

    QString m_appName;
    quint32 m_shownId = 0; // the notification a new message replaces
    // One call at a time, so each knows the id to replace; the newest message that came
    // meanwhile waits here.
    bool m_sending = false;
    std::optional<OsdMessage> m_waiting;
    bool m_toldNoService = false;
};
