// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tray icon: the model and its battery in the tooltip with the time left, a notice when
// the battery runs low, and the menu with "Load Config" and "Quit". The battery's readings go
// into the model's battery history (written on a thread of its own), from which the time left
// is estimated.

#include "BatteryRecorder.h"
#include "MouseRequests.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <optional>

class QAction;
class QWidget;

class BatteryTray : public QObject {
    Q_OBJECT

public:
    // The tray shows icon; its menu is made as a child of window.
    BatteryTray(const QIcon &icon, QWidget *window);
    // Waits for the last write of the battery history.
    ~BatteryTray() override;

    // A battery report of the mouse (all zero: asleep); onCable: the mouse charges on its
    // cable, where the level means nothing and no low-battery notice is given.
    void noteReport(quint8 iCharge, quint8 iLowByte, quint8 iHiByte, bool onCable);
    // Whether a mouse is present: without one, nothing of its last reading is shown or told.
    void setMousePresent(bool present);
    // The tooltip again, for a new model or language.
    void refresh();
    void retranslateUi();
    // Out of sight for good (the program is about to end).
    void hideIcon() { m_tray->hide(); }
    // Shown once a notification area is there (on Wayland, one that came after the program).
    void showIconWhereTray() {
        if (!m_tray->isVisible() && QSystemTrayIcon::isSystemTrayAvailable())
            m_tray->show();
    }

    QSystemTrayIcon *icon() const { return m_tray; }
    // The battery as last reported by the mouse, with the hours left.
    const MouseStatus &battery() const { return m_battery; }
    // While charging, the hours until full when the history tells them.
    std::optional<double> hoursToFull() const { return m_hoursToFull; }
    // The readings of the model's history, oldest first (none before the first reading).
    QVector<BatterySample> historySamples() const;
    // Writes the battery readings not yet written, and waits for it.
    void writeHistoryNow() { m_recorder.writeNow(); }
    // Low-battery notices shown since start.
    int lowBatteryNotices() const { return m_lowBatteryNotices; }

signals:
    void loadConfigRequested();
    void quitRequested();
    void activated(QSystemTrayIcon::ActivationReason reason);
    // A notice for the user that no notification area can show (there is none).
    void noticeWithoutTray(const QString &text);

private:
    QSystemTrayIcon *m_tray = nullptr;
    QAction *m_loadConfigAction = nullptr;
    QAction *m_quitAction = nullptr;
    MouseStatus m_battery;
    std::optional<double> m_hoursToFull;
    BatteryRecorder m_recorder{BatteryRecorder::Writes::InBackground};
    bool m_present = true;
    bool m_lowBatteryNoticed = false;
    int m_lowBatteryNotices = 0;
};
