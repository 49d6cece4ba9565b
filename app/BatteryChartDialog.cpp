// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryChartDialog.h"

#include "BatteryChart.h"
#include "KelLabel.h"
#include "KelMessageBox.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace {
// The dialog in design units.
constexpr int kWidth = 580;
constexpr int kHeight = 380;
constexpr QRect kTitle(20, 18, kWidth - 40, 26);
constexpr QRect kChart(30, 56, kWidth - 60, 220);
constexpr QRect kNote(30, 284, kWidth - 60, 40);
constexpr QRect kOk((kWidth - 100) / 2, 330, 100, 32);

QRect designed(const QRect &r) {
    return scaledRect(r.x(), r.y(), r.width(), r.height());
}

// The hours told: whole ones, at least one (the texts say "about").
int wholeHours(double hours) {
    return std::max(1, int(std::lround(hours)));
}
} // namespace

BatteryChartDialog::BatteryChartDialog(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("batteryChartDialog"));
    setFixedSize(scaledSize(kWidth, kHeight));
    setAttribute(Qt::WA_TranslucentBackground);
    m_background = readSkinPixmap(skinPath(QStringLiteral("dlg.png")));

    m_title = new KelLabel(this);
    m_title->setDesignPixelSize(16);
    m_title->setBold(true);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setGeometry(designed(kTitle));
    m_chart = new BatteryChart(this);
    m_chart->setGeometry(designed(kChart));
    m_note = new KelLabel(this);
    m_note->setDesignPixelSize(14);
    m_note->setAlignment(Qt::AlignCenter);
    m_note->setWordWrap(true);
    m_note->setGeometry(designed(kNote));
    for (KelLabel *label : {m_title, m_note})
        label->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255);"));
    m_okBtn = KelMessageBox::makeButton(this, QStringLiteral("msgBoxYesBtn"),
                                        QStringLiteral(":/yes_Btn"), QString());
    m_okBtn->setGeometry(designed(kOk));
    connect(m_okBtn, &QToolButton::clicked, this, &QDialog::accept);
    m_okBtn->setFocus();
    retranslateUi();
}

void BatteryChartDialog::setBattery(const QVector<BatterySample> &samples, qint64 nowMs,
                                    const MouseStatus &battery, bool onCable,
                                    std::optional<double> hoursToFull) {
    m_battery = battery;
    m_onCable = onCable;
    m_hoursToFull = hoursToFull;
    m_chart->setSamples(samples, nowMs);
    retranslateUi();
}

QString BatteryChartDialog::noteFor(const MouseStatus &battery, bool onCable,
                                    std::optional<double> hoursToFull) {
    if (battery.asleep)
        return tr("The mouse is off.");
    if (onCable || (battery.batteryKnown && battery.charging)) {
        return hoursToFull ? tr("Charging, full in about %n h.", nullptr, wholeHours(*hoursToFull))
                           : tr("Charging.");
    }
    if (!battery.batteryKnown)
        return tr("No battery reading from the mouse yet.");
    if (battery.hoursLeft)
        return tr("%1% now, about %n h left.", nullptr, wholeHours(*battery.hoursLeft))
            .arg(battery.level);
    return tr("%1% now. The time left shows after about 2 hours on the battery.")
        .arg(battery.level);
}

QString BatteryChartDialog::note() const {
    return m_note->text();
}

void BatteryChartDialog::retranslateUi() {
    const QString title = tr("Battery over the last 7 days");
    setWindowTitle(title);
    m_title->setText(title);
    m_okBtn->setText(tr("Ok"));
    m_chart->retranslateUi();
    m_note->setText(noteFor(m_battery, m_onCable, m_hoursToFull));
}

void BatteryChartDialog::paintEvent(QPaintEvent *) {
    KelMessageBox::paintSkinnedDialog(this, m_background);
}

void BatteryChartDialog::keyPressEvent(QKeyEvent *event) {
    if (!KelMessageBox::pressOnEnter(event, {m_okBtn}))
        QDialog::keyPressEvent(event);
}
