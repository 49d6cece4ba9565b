// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelPointSpeed.h"
#include "PerformanceLog.h"

#include "KelCheckBox.h"
#include "KelLabel.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "KelSlider.h"
#include "LanguageFont.h"
#include "ModelDescriptor.h"
#include "PerformanceLayout.h"
#include "PerformanceRules.h"
#include "ProfileData.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QDebug>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>

using namespace PerformanceLayout;

namespace {
constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 20;
constexpr int kKeyMin = kKeyResponseMin;
constexpr int kKeyMax = 255;

// The number box in the skin's colours, its arrows sized by the scale factor.
QString speedBoxStyleSheet() {
    return QStringLiteral(
               "QSpinBox{background-color:rgb(30,30,30);color:white;border:1px solid "
               "rgb(60,64,70);border-radius:3px;padding-right:%1px;}"
               "QSpinBox::up-button,QSpinBox::down-button{subcontrol-origin:border;width:%1px;"
               "border:none;border-left:1px solid rgb(60,64,70);background:rgb(40,44,49);}"
               "QSpinBox::up-button{subcontrol-position:top right;}"
               "QSpinBox::down-button{subcontrol-position:bottom right;}"
               "QSpinBox::up-button:hover,QSpinBox::down-button:hover{background:rgb(58,63,70);}"
               "QSpinBox::up-arrow{image:url(\"%2\");width:%4px;height:%5px;}"
               "QSpinBox::down-arrow{image:url(\"%3\");width:%4px;height:%5px;}")
        .arg(scaled(14))
        .arg(skinPath(QStringLiteral("spin-up.png")), skinPath(QStringLiteral("spin-down.png")))
        .arg(scaled(8))
        .arg(scaled(5));
}

KelLabel *optionLabel(QWidget *parent) {
    auto *label = new KelLabel(parent);
    label->setDesignPixelSize(kOptionPixels);
    label->setStyleSheet(QStringLiteral("color:rgb(220,220,220);"));
    return label;
}

// Places a control at its design rectangle, or hides it where the layout has none.
void place(QWidget *w, const QRect &design) {
    w->setGeometry(design.isEmpty() ? QRect() : placed(design));
    w->setVisible(!design.isEmpty());
}
} // namespace

KelPointSpeed::KelPointSpeed(QWidget *parent) : QWidget(parent) {
    makePanel(this, QStringLiteral("pointSpeed"));
    m_syncMode = descriptorSyncMode();

    m_keyLabel = optionLabel(this);
    m_keySlider = new KelSlider(this);
    m_keySlider->setRange(kKeyMin, kKeyMax);
    m_keySlider->setSingleStep(1);
    m_keySlider->setPageStep(1);
    m_keyValue = optionLabel(this);
    m_keyLabel->setBuddy(m_keySlider);
    m_speedBox = new QSpinBox(this);
    m_speedBox->setObjectName(QStringLiteral("pointerSpeed"));
    m_speedBox->setRange(kSpeedMin, kSpeedMax);
    m_speedBox->setAlignment(Qt::AlignCenter);
    m_mouseSetting = new KelPushButton(skinStates(QStringLiteral("button"), 4), this);
    m_mouseSetting->setObjectName(QStringLiteral("mouseSetting"));

    m_sync = new KelCheckBox(QString(), this);
    m_liftLabel = optionLabel(this);
    m_lift1 = new KelRadioButton(QString(), this);
    m_lift2 = new KelRadioButton(QString(), this);
    m_angle = new KelCheckBox(QString(), this);
    m_jitter = new KelCheckBox(QString(), this);
    m_wake = new KelCheckBox(QString(), this);
    m_sensorLabel = optionLabel(this);
    m_speedNote = optionLabel(this);
    m_speedNote->setObjectName(QStringLiteral("pointerSpeedNote"));
    m_speedNote->setDesignPixelSize(kNotePixels);
    m_speedNote->setWordWrap(true);
    m_speedNote->setStyleSheet(QStringLiteral("color:rgb(170,172,176);"));
    for (KelRadioButton *&mode : m_modes) {
        mode = new KelRadioButton(QString(), this);
        mode->setAutoExclusive(false);
    }
    m_lift1->setAutoExclusive(false);
    m_lift2->setAutoExclusive(false);

    connect(m_keySlider, &QSlider::valueChanged, this, &KelPointSpeed::sValueChangedSlot);
    connect(m_speedBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this](int speed) { m_mouseSpeed = quint8(speed); });
    connect(m_mouseSetting, &QPushButton::clicked, this, &KelPointSpeed::btn_clicked);
    for (QAbstractButton *box :
         std::initializer_list<QAbstractButton *>{m_sync, m_lift1, m_lift2, m_angle, m_jitter,
                                                  m_wake, m_modes[0], m_modes[1], m_modes[2]})
        connect(box, &QAbstractButton::clicked, this, &KelPointSpeed::checkbtn_clicked);

    retranslateUi();
    relayout();
}

void KelPointSpeed::loadPage(const ProfileSet &set, const PageView &view) {
    m_profileIndex = qBound(0, view.profile, kProfileCount - 1);
    const ProfileData &record = set.profiles[m_profileIndex];
    m_syncValue = set.Sync;
    // Kept as shown, so that what is handed back is what the report-rate page shows.
    m_liftValue = boundedLift(set.LiftHigh);
    m_angleValue = set.AngleValue;
    m_jitterValue = set.Jitter;
    m_debounce = boundedKeyResponse(set.Debounce);
    m_wakeValue = set.Wake;
    m_sensorMode = set.SensorMode;
    {
        const QSignalBlocker blockSlider(m_keySlider);
        const QSignalBlocker blockBox(m_speedBox);
        m_keySlider->setValue(m_debounce);
        m_speedBox->setValue(record.mousespeed);
    }
    // Kept as shown: a speed off the scale (a file written by hand) is handed back as the box
    // bounds it, one the desktop takes.
    m_mouseSpeed = quint8(m_speedBox->value());
    m_keyValue->setText(QStringLiteral("%1").arg(m_debounce));
    m_speedBox->setFont(languageFont());
    // The mouse syncs for any byte but 0.
    m_sync->setChecked(m_syncValue != 0);
    m_angle->setChecked(invertedOptionChecked(m_angleValue));
    m_jitter->setChecked(invertedOptionChecked(m_jitterValue));
    m_wake->setChecked(invertedOptionChecked(m_wakeValue));
    showLift();
    showSensorMode();
}

void KelPointSpeed::collectProfile(ProfileSet &set) const {
    set.Sync = m_syncValue;
    set.LiftHigh = m_liftValue;
    set.AngleValue = m_angleValue;
    set.Jitter = m_jitterValue;
    set.Debounce = m_debounce;
    set.Wake = m_wakeValue;
    set.SensorMode = m_sensorMode;
    set.profiles[m_profileIndex].mousespeed = m_mouseSpeed;
}

void KelPointSpeed::setLift(quint8 lift) {
    m_liftValue = boundedLift(lift);
    showLift();
}

void KelPointSpeed::setHostSpeedApplies(bool applies) {
    m_hostSpeedApplies = applies;
    retranslateUi();
    relayout();
}

void KelPointSpeed::showLift() {
    m_lift1->setChecked(m_liftValue == 1);
    m_lift2->setChecked(m_liftValue != 1);
}

// A mode outside the three leaves every box off rather than showing one it is not.
void KelPointSpeed::showSensorMode() {
    for (int mode = 0; mode < 3; ++mode)
        m_modes[mode]->setChecked(m_sensorMode == mode);
}

QString KelPointSpeed::keyValueText() const {
    return m_keyValue->text();
}

void KelPointSpeed::relayout() {
    const bool full = showsSyncOptions(m_syncMode);
    place(m_keyLabel, kKeyLabel);
    place(m_keySlider, kKeySlider);
    place(m_keyValue, kKeyValue);
    place(m_speedBox, kSpeedBox);
    place(m_mouseSetting, kMouseSetting);
    place(m_angle, full ? kAngle : QRect());
    place(m_jitter, full ? kJitter : QRect());
    place(m_wake, full ? kWakeFull : kWakeAlone);
    place(m_sync, full ? kSync : QRect());
    place(m_sensorLabel, kSensorLabel);
    place(m_modes[0], kEco);
    place(m_modes[1], kStandard);
    place(m_modes[2], kCompetitive);
    place(m_speedNote, m_hostSpeedApplies ? QRect() : kSpeedNote);
    if (!m_hostSpeedApplies)
        resize(width(), scaled(kHeightWithNote));
    // The lift-off distance is set on the report-rate page beside this one.
    place(m_liftLabel, QRect());
    place(m_lift1, QRect());
    place(m_lift2, QRect());
    m_keySlider->refreshStyle();
    for (KelCheckBox *box : {m_sync, m_angle, m_jitter, m_wake}) {
        box->setDesignPixelSize(kOptionPixels);
    }
    for (KelRadioButton *button : {m_lift1, m_lift2, m_modes[0], m_modes[1], m_modes[2]})
        button->setDesignPixelSize(kOptionPixels);
    m_speedBox->setStyleSheet(speedBoxStyleSheet());
    m_speedBox->setFont(languageFont());
}

void KelPointSpeed::retranslateUi() {
    m_keyLabel->setText(tr("Key Response"));
    m_sync->setText(tr("Enable sync"));
    m_liftLabel->setText(tr("Lift Distance"));
    m_lift1->setText(tr("1mm"));
    m_lift2->setText(tr("2mm"));
    m_mouseSetting->setText(tr("Mouse Setting"));
    m_speedBox->setAccessibleName(tr("Pointer speed"));
    const QString note = m_hostSpeedApplies
                             ? QString()
                             : tr("This desktop does not let programs set the pointer speed; "
                                  "set it in the desktop's own mouse settings.");
    m_speedBox->setToolTip(m_hostSpeedApplies ? tr("Pointer speed") : note);
    m_speedBox->setAccessibleDescription(note);
    m_speedNote->setText(note);
    m_angle->setText(tr("Angle Snapping"));
    m_jitter->setText(tr("Jitter"));
    m_sensorLabel->setText(tr("Sensor Mode"));
    m_modes[0]->setText(tr("Eco"));
    m_modes[1]->setText(tr("Standard"));
    m_modes[2]->setText(tr("Competitive"));
    m_wake->setText(tr("Motion Wake"));
}

void KelPointSpeed::sValueChangedSlot(int s) {
    qCDebug(lcPerformance, "slider_clicked 1 = %d", s);
    m_debounce = quint8(qBound(kKeyMin, s, kKeyMax));
    m_keyValue->setText(QStringLiteral("%1").arg(m_debounce));
}

void KelPointSpeed::checkbtn_clicked() {
    QObject *s = sender();
    if (s == m_sync) {
        m_syncValue = m_sync->isChecked() ? 1 : 0;
    } else if (s == m_lift1 || s == m_lift2) {
        m_liftValue = s == m_lift1 ? 1 : 2;
        showLift();
    } else if (s == m_angle) {
        m_angleValue = invertedOption(m_angle->isChecked());
    } else if (s == m_jitter) {
        m_jitterValue = invertedOption(m_jitter->isChecked());
    } else if (s == m_wake) {
        m_wakeValue = invertedOption(m_wake->isChecked());
    } else {
        for (int mode = 0; mode < 3; ++mode) {
            if (s == m_modes[mode])
                m_sensorMode = quint8(mode);
        }
        showSensorMode();
    }
}

void KelPointSpeed::btn_clicked() {
    const SettingsProgram settings = findMouseSettingsProgram(
        qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
        [](const QString &program) { return QStandardPaths::findExecutable(program); });
    if (!settings.program.isEmpty() &&
        QProcess::startDetached(settings.program, settings.arguments))
        return;
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                      tr("No mouse settings of a known desktop were found."), QString(), this);
    box.exec();
}
