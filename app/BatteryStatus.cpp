// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryStatus.h"

#include "AppConfig.h"
#include "AppLog.h"
#include "InterfaceColour.h"
#include "KelProcessbar.h"
#include "KelPushButton.h"
#include "MainLayout.h"
#include "ModelDescriptor.h"
#include "MouseRequests.h"
#include "ProfileData.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QLabel>

using namespace MainLayout;

namespace {
// The corner in the window's design coordinates: the battery picture and the receiver's.
constexpr QRect kArea(QPoint(qMin(kBattery.left(), kReceiverIcon.left()),
                             qMin(kBattery.top(), kReceiverIcon.top())),
                      QPoint(qMax(kBattery.right(), kReceiverIcon.right()),
                             qMax(kBattery.bottom(), kReceiverIcon.bottom())));

// A part of the corner, placed where the window would place it on its own.
QRect inArea(const QRect &design) {
    return scaledRect(design).translated(-scaledRect(kArea).topLeft());
}
} // namespace

BatteryStatus::BatteryStatus(QWidget *window) : QWidget(window) {
    // Made first, so that the bar lies over it; a press on the bar is the picture's.
    m_picture = new KelPushButton({skinPath(QStringLiteral("bat1.png"))}, this);
    m_picture->setObjectName(QStringLiteral("batteryPicture"));
    m_picture->setCursor(Qt::PointingHandCursor);
    connect(m_picture, &QPushButton::clicked, this, &BatteryStatus::historyRequested);
    m_bar = new KelProcessbar(this);
    m_bar->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(true);
    m_receiver = new QLabel(this);
    m_receiver->setScaledContents(true);
    m_receiver->setPixmap(readSkinPixmap(skinPath(QStringLiteral("dongle.png"))));
}

int BatteryStatus::connectionStateFor(bool cable, bool receiver, bool charging) {
    if (cable)
        return receiver ? 1 : 0;
    if (receiver)
        return charging ? 1 : 2;
    return 3;
}

void BatteryStatus::showReport(quint8 charge, quint8 lowByte, quint8 highByte, bool cable) {
    m_cable = cable;
    m_mouseOff = charge == 0 && lowByte == 0 && highByte == 0;
    setBarStyle();
    if (m_mouseOff) {
        m_bar->setCaption(tr("MOUSE OFF"));
        // A charging picture from an earlier report goes: the caption shows on the bar.
        m_lastCharge = 0;
        showLinks(cable, m_receiverPresent);
        return;
    }
    m_bar->clearCaption();
    m_bar->setFormat(cable ? QString() : QStringLiteral("%p%"));
    m_lastCharge = charge;
    const int level = batteryLevelFor(batteryMillivolts(lowByte, highByte), batteryFullValue());
    if (level != m_level) {
        m_level = level;
        setBatteryLevel(level);
    }
    m_bar->setValue(cable ? 100 : level);
    showLinks(cable, m_receiverPresent);
}

void BatteryStatus::showLinks(bool cable, bool receiver) {
    m_cable = cable;
    m_receiverPresent = receiver;
    const int state = connectionStateFor(cable, receiver, m_lastCharge != 0);
    if (state != m_state)
        qCDebug(lcApp, "connection state %d", state);
    m_state = state;
    m_receiver->setVisible(receiver);
    const bool charging = state <= 1;
    if (charging != m_chargingPicture) {
        m_chargingPicture = charging;
        m_picture->setPictures(
            {skinPath(charging ? QStringLiteral("bat2.png") : QStringLiteral("bat1.png"))});
    }
    // The bar shows a level read through the receiver; a charging mouse shows the charging
    // picture instead, and with neither link no level is known.
    m_bar->setVisible(receiver && !cable && m_lastCharge == 0);
    describe();
}

void BatteryStatus::relayout() {
    setGeometry(scaledRect(kArea));
    m_picture->setGeometry(inArea(kBattery));
    m_bar->setGeometry(inArea(kBatteryBar));
    m_receiver->setGeometry(inArea(kReceiverIcon));
    setBarStyle();
}

void BatteryStatus::retranslateUi() {
    if (m_mouseOff)
        m_bar->setCaption(tr("MOUSE OFF"));
    m_picture->setAccessibleName(tr("Battery"));
    m_picture->setToolTip(tr("Battery over the last 7 days"));
    m_bar->setAccessibleName(tr("Battery level"));
    m_receiver->setAccessibleName(tr("Receiver connected"));
    describe();
}

void BatteryStatus::describe() {
    QString state;
    if (m_mouseOff)
        state = tr("MOUSE OFF");
    else if (m_state <= 1)
        state = tr("Charging");
    else if (m_state == 2)
        state = QStringLiteral("%1%").arg(m_level);
    else
        state = tr("No mouse is connected.");
    m_picture->setAccessibleDescription(state);
}

void BatteryStatus::setBarStyle() {
    const int px = scaled(16);
    if (m_mouseOff) {
        m_bar->setStyleSheet(
            QStringLiteral("QProgressBar{background-color:rgb(100,100,100);border:none;"
                           "border-radius:2px;color:white;font:bold %1px;text-align:center;}"
                           "QProgressBar::chunk{background-color:rgb(100,100,100);"
                           "border-radius:2px;}")
                .arg(px));
        return;
    }
    const QColor c = interfaceColour();
    m_bar->setStyleSheet(
        QStringLiteral("QProgressBar{background-color:white;border:none;border-radius:2px;"
                       "color:black;font:bold %1px;text-align:center;}"
                       "QProgressBar::chunk{background-color:rgb(%2,%3,%4);border-radius:2px;}")
            .arg(px)
            .arg(c.red())
            .arg(c.green())
            .arg(c.blue()));
}
