// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelSniperWindow.h"

#include "ButtonRules.h"
#include "ButtonsLayout.h"
#include "KelLabel.h"
#include "KelSlider.h"
#include "ProfileData.h"
#include "Scale.h"

using namespace ButtonsLayout;

KelSniperWindow::KelSniperWindow(int sensorCode, QWidget *parent)
    : KelSkinDialog(kKeyDialogW, kKeyDialogH, parent), m_sensorCode(sensorCode) {
    setObjectName(QStringLiteral("sniperWindow"));
    setTitle(tr("Sniper Setting"));
    KelLabel *hint = addHint(tr("DPI WHILE THE BUTTON IS HELD"));
    m_slider = new KelSlider(this);
    hint->setBuddy(m_slider);
    m_slider->setGeometry(scaledRect(kSniperSlider.x(), kSniperSlider.y(), kSniperSlider.width(),
                                     kSniperSlider.height()));
    const SniperRange range = sniperRange(sensorCode);
    if (range.known)
        m_slider->setRange(range.min, range.max);
    m_dpiLabel = addLabel(kSniperValue, kKeyPixels);
    m_dpiLabel->setAlignment(Qt::AlignCenter);
    connect(m_slider, &QSlider::valueChanged, this, &KelSniperWindow::onSliderChanged);
    onSliderChanged(m_slider->value());
    // The arrow keys move the slider at once; Enter takes the value, Escape leaves it.
    m_slider->setFocus();
}

void KelSniperWindow::preset(int stored) {
    m_slider->setValue(sniperPreset(m_sensorCode, stored));
    onSliderChanged(m_slider->value());
}

QString KelSniperWindow::dpiText() const {
    return m_dpiLabel->text();
}

void KelSniperWindow::onSliderChanged(int value) {
    m_value = value;
    m_dpiLabel->setText(QString::asprintf("%d", stageToDpi(value, m_sensorCode)));
    // The slider's value is a step; a screen reader says the DPI it stands for too.
    m_slider->setAccessibleDescription(m_dpiLabel->text());
}
