// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryTray.h"

#include "AppConfig.h"
#include "KelMenu.h"

#include <QAction>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

namespace {
// The hours told: whole ones, at least one (the texts say "about").
int wholeHours(double hours) {
    return std::max(1, int(std::lround(hours)));
}
} // namespace

BatteryTray::BatteryTray(const QIcon &icon, QWidget *window) : QObject(window) {
    m_tray = new QSystemTrayIcon(icon, this);
    m_tray->setToolTip(currentProductName());
    auto *menu = new KelMenu(window);
    m_loadConfigAction = menu->addAction(tr("&Load Config"));
    m_quitAction = menu->addAction(tr("&Quit"));
    connect(m_loadConfigAction, &QAction::triggered, this, &BatteryTray::loadConfigRequested);
    connect(m_quitAction, &QAction::triggered, this, &BatteryTray::quitRequested);
    m_tray->setContextMenu(menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, &BatteryTray::activated);
    // On X11 the icon waits for a notification area that comes later; on Wayland Qt serves
    // only a desktop that has one now, and the X11 way would only print warnings.
    if (QGuiApplication::platformName() != QLatin1String("wayland") ||
        QSystemTrayIcon::isSystemTrayAvailable())
        m_tray->show();
}

BatteryTray::~BatteryTray() = default;

void BatteryTray::noteReport(quint8 iCharge, quint8 iLowByte, quint8 iHiByte, bool onCable) {
    setStatusBattery(m_battery, iCharge, iLowByte, iHiByte);
    m_hoursToFull = m_recorder.note(m_battery, onCable).hoursToFull;
    refresh();
    // Told once when the level falls to the lowest step, and again only after the mouse
    // charged (on the cable too). On the cable the mouse charges and the level means nothing.
    if (m_battery.asleep)
        return;
    if (onCable || m_battery.charging) {
        m_lowBatteryNoticed = false;
    } else if (m_battery.level <= kLowestBatteryLevel && !m_lowBatteryNoticed) {
        m_lowBatteryNoticed = true;
        ++m_lowBatteryNotices;
        const QString text =
            m_battery.hoursLeft
                ? tr("The mouse battery is low (%1%, about %n h left). Please charge it.", nullptr,
                     wholeHours(*m_battery.hoursLeft))
                      .arg(m_battery.level)
                : tr("The mouse battery is low (%1%). Please charge it.").arg(m_battery.level);
        // Without a notification area Qt shows no message: the on-screen display, made for a
        // few words, tells the level.
        if (QSystemTrayIcon::isSystemTrayAvailable())
            m_tray->showMessage(currentProductName(), text, QSystemTrayIcon::Warning);
        else
            emit noticeWithoutTray(tr("Battery %1%").arg(m_battery.level));
    }
}

QVector<BatterySample> BatteryTray::historySamples() const {
    return m_recorder.samples();
}

void BatteryTray::setMousePresent(bool present) {
    if (present == m_present)
        return;
    m_present = present;
    if (!present) {
        m_battery = MouseStatus();
        m_hoursToFull.reset();
    }
    refresh();
}

void BatteryTray::refresh() {
    QString tip = currentProductName();
    if (!m_present)
        tip += QLatin1Char('\n') + tr("No mouse is connected.");
    else if (m_battery.asleep)
        tip += QLatin1Char('\n') + tr("MOUSE OFF");
    else if (m_battery.batteryKnown && m_battery.charging)
        tip += QLatin1Char('\n') + tr("Battery %1%, charging").arg(m_battery.level);
    else if (m_battery.batteryKnown)
        tip += QLatin1Char('\n') + tr("Battery %1%").arg(m_battery.level);
    if (m_battery.hoursLeft)
        tip += QLatin1Char('\n') + tr("about %n h left", nullptr, wholeHours(*m_battery.hoursLeft));
    else if (m_hoursToFull && m_battery.charging)
        tip += QLatin1Char('\n') + tr("full in about %n h", nullptr, wholeHours(*m_hoursToFull));
    m_tray->setToolTip(tip);
}

void BatteryTray::retranslateUi() {
    m_loadConfigAction->setText(tr("&Load Config"));
    m_quitAction->setText(tr("&Quit"));
    refresh();
}
