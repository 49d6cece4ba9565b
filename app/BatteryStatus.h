// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's status corner: the battery picture (charging or not), the battery bar with
// its level or "MOUSE OFF", and the receiver picture while the receiver is plugged in. The
// battery picture is a button: pressed (or Space or Enter on it) it asks for the battery's
// history.

#include <QWidget>

class KelProcessbar;
class KelPushButton;
class QLabel;

class BatteryStatus : public QWidget {
    Q_OBJECT

public:
    explicit BatteryStatus(QWidget *window);

    // The connection state 0..3 from the command collections found and the charge flag:
    // 0 cable only, 1 charging (cable with receiver, or receiver while charging), 2 receiver,
    // 3 neither.
    static int connectionStateFor(bool cable, bool receiver, bool charging);

    // A battery report of the mouse; all zero is the mouse saying it is off.
    void showReport(quint8 charge, quint8 lowByte, quint8 highByte, bool cable);
    // Which links the mouse has now.
    void showLinks(bool cable, bool receiver);
    // Places itself in the window at the current scale.
    void relayout();
    void retranslateUi();

    int level() const { return m_level; }
    int connectionState() const { return m_state; }
    // The mouse reported itself off ("MOUSE OFF").
    bool mouseOff() const { return m_mouseOff; }
    KelProcessbar *bar() const { return m_bar; }
    QLabel *receiverIcon() const { return m_receiver; }
    KelPushButton *picture() const { return m_picture; }

signals:
    void historyRequested();

private:
    void setBarStyle();
    // What a screen reader says of the battery: its level, charging, off or no mouse.
    void describe();

    KelPushButton *m_picture = nullptr;
    KelProcessbar *m_bar = nullptr;
    QLabel *m_receiver = nullptr;
    bool m_cable = false;
    bool m_receiverPresent = false;
    int m_level = 0;
    int m_lastCharge = 0;
    int m_state = 3;
    bool m_mouseOff = false;
    bool m_chargingPicture = false;
};
