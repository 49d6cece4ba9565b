// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelColorWindow.h"
#include "LightingLog.h"

#include "ColorAreas.h"
#include "KelCheckBox.h"
#include "KelColorArea.h"
#include "KelLabel.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "KelSlider.h"
#include "LightingLayout.h"
#include "LightingRules.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QSignalBlocker>

#include <algorithm>
#include <iterator>

using namespace LightingLayout;

namespace {
QRect place(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height());
}

// The move-off flag as stored: 0 puts the light out while the mouse moves.
constexpr uint8_t kMoveOffOn = 0;
constexpr uint8_t kMoveOffOff = 255;
static_assert(KelColorWindow::kEffectCount == kLedModeCount, "one action per effect record");
} // namespace

KelColorWindow::KelColorWindow(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("colorWindow"));

    auto heading = [this](const QString &name) {
        auto *label = new KelLabel(this);
        label->setObjectName(name);
        label->setDesignPixelSize(kHeadingPixels);
        label->setBold(true);
        label->setStyleSheet(QStringLiteral("color:rgb(200,200,200);"));
        return label;
    };
    m_effectLabel = heading(QStringLiteral("effectLabel"));
    m_brightLabel = heading(QStringLiteral("brightLabel"));
    m_speedLabel = heading(QStringLiteral("speedLabel"));
    m_colourLabel = heading(QStringLiteral("colourLabel"));
    m_sleepLabel = heading(QStringLiteral("sleepLabel"));
    m_sleepValue = new KelLabel(this);
    m_sleepValue->setObjectName(QStringLiteral("sleepValue"));
    m_sleepValue->setDesignPixelSize(kHeadingPixels);
    m_sleepValue->setStyleSheet(QStringLiteral("color:rgb(220,220,220);"));

    auto slider = [this](const QString &name, int minimum, int maximum) {
        auto *s = new KelSlider(this);
        s->setObjectName(name);
        s->setRange(minimum, maximum);
        s->setSingleStep(1);
        s->setPageStep(1);
        connect(s, &QSlider::valueChanged, this, &KelColorWindow::onSliderChanged);
        return s;
    };
    m_brightSlider = slider(QStringLiteral("brightSlider"), kBrightMin, kBrightMax);
    m_speedSlider = slider(QStringLiteral("speedSlider"), kSpeedMin, kSpeedMax);
    m_sleepSlider = slider(QStringLiteral("sleepSlider"), 1, 9);

    m_swatch = new DefaultColorArea(this);
    m_swatch->setObjectName(QStringLiteral("swatch"));
    connect(m_swatch, &DefaultColorArea::ClickedSignal, this, &KelColorWindow::color_clicked);

    // A screen reader names each slider and the swatch by the heading beside it.
    m_brightLabel->setBuddy(m_brightSlider);
    m_speedLabel->setBuddy(m_speedSlider);
    m_sleepLabel->setBuddy(m_sleepSlider);
    m_colourLabel->setBuddy(m_swatch);

    m_effectBtn = new KelPushButton(skinStates(QStringLiteral("effect"), 3), this);
    m_effectBtn->setObjectName(QStringLiteral("effectButton"));
    m_effectMenu = new KelMenu(this);
    m_effectMenu->setObjectName(QStringLiteral("effectMenu"));
    for (int i = 0; i < kEffectCount; ++i)
        m_effectActions[i] = new KelAction(effectText(i), this, i);
    m_effectBtn->setMenu(m_effectMenu);
    connect(m_effectMenu, &QMenu::triggered, this, &KelColorWindow::onEffectTriggered);

    m_moveOff = new KelCheckBox(QString(), this);
    m_moveOff->setObjectName(QStringLiteral("moveOffBox"));
    m_moveOff->setDesignPixelSize(kHeadingPixels);
    connect(m_moveOff, &QCheckBox::clicked, this, &KelColorWindow::checkbtn_clicked);

    rebuildMenu();
    retranslateUi();
    relayout();
}

void KelColorWindow::loadPage(const ProfileSet &set, const PageView &view) {
    const int index = qBound(0, view.effectRecord, kProfileCount - 1);
    if (index != m_effectIndex)
        KelMenu::closeOpenMenus(this);
    m_effectIndex = index;
    m_ledMode = set.profiles[m_effectIndex].LedMode;
    std::copy(std::begin(set.profiles[0].ledModes), std::end(set.profiles[0].ledModes),
              std::begin(m_ledModes));
    showLightingOptions(set.profiles[0].LedSleepTime, set.profiles[0].LedMoveOFF);
    showEffect(m_ledMode);
    showEffectValues();
    rebuildMenu();
}

void KelColorWindow::collectProfile(ProfileSet &set) const {
    set.profiles[m_effectIndex].LedMode = m_ledMode;
    std::copy(std::begin(m_ledModes), std::end(m_ledModes), std::begin(set.profiles[0].ledModes));
}

void KelColorWindow::showLightingOptions(quint8 sleepTime, quint8 moveOff) {
    // Showing is never an edit: a slider that bounds a stored value must not write it back.
    const QSignalBlocker sleepBlock(m_sleepSlider);
    int sleepMin = 1;
    int sleepMax = 9;
    readSleepRange(sleepMin, sleepMax);
    m_sleepSlider->setRange(sleepMin, sleepMax);
    m_sleepSlider->setValue(sleepTime);
    m_sleepTime = sleepTime;
    m_moveOff->setChecked(moveOff == kMoveOffOn);
    showSleepValue();
}

void KelColorWindow::setLightMode(quint8 effect) {
    m_ledMode = effect;
    showEffect(effect);
    showEffectValues();
}

LedModeInfo *KelColorWindow::shownLedMode() {
    if (m_effect < 0 || m_effect >= kLedModeCount)
        return nullptr;
    return &m_ledModes[m_effect];
}

void KelColorWindow::showEffect(int effect) {
    m_effect = effect;
    showEffectText();
    // A number that names no effect has no rows to show; the page keeps what it shows.
    if (effect < 0 || effect >= kLedModeCount)
        return;
    const EffectControls c = effectControls(effect);
    m_speedInFirstRow = c.speedInFirstRow;
    relayout();
    m_brightLabel->setVisible(c.brightness);
    m_brightSlider->setVisible(c.brightness);
    m_speedLabel->setVisible(c.speed);
    m_speedSlider->setVisible(c.speed);
    m_colourLabel->setVisible(c.colour);
    m_swatch->setVisible(c.colour);
}

void KelColorWindow::showEffectValues() {
    LedModeInfo *m = shownLedMode();
    if (!m)
        return;
    const QSignalBlocker brightBlock(m_brightSlider);
    const QSignalBlocker speedBlock(m_speedSlider);
    m_brightSlider->setValue(int(qMin<uint32_t>(m->bright, kBrightMax)));
    m_speedSlider->setValue(int(qMin<uint32_t>(m->breath, kSpeedMax)));
    m_swatch->setColor(m->RGB);
    // A value beyond its slider's range is kept as the slider shows it, so that the page hands
    // back what the user saw; a row the effect does not show keeps its value.
    const EffectControls c = effectControls(m_effect);
    if (c.brightness)
        m->bright = uint32_t(m_brightSlider->value());
    if (c.speed)
        m->breath = uint32_t(m_speedSlider->value());
}

void KelColorWindow::showSleepValue() {
    m_sleepValue->setText(QString::number(m_sleepTime) + tr(" MINUTE"));
}

void KelColorWindow::rebuildMenu() {
    m_effectMenu->clear();
    for (int effect : kEffectMenuOrder)
        m_effectMenu->addAction(m_effectActions[effect]);
}

void KelColorWindow::onEffectTriggered(QAction *action) {
    auto *effectAction = qobject_cast<KelAction *>(action);
    if (!effectAction)
        return;
    const int i = effectAction->id();
    showEffect(i);
    m_ledMode = uint8_t(i);
    showEffectValues();
    const LedModeInfo *m = shownLedMode();
    const QColor c = m ? m->RGB : QColor();
    qCDebug(lcLighting, "EffectMenuFunction i=%d r=%d g=%d b=%d", i, c.red(), c.green(), c.blue());
}

void KelColorWindow::onSliderChanged(int value) {
    QObject *s = sender();
    if (s == m_sleepSlider) {
        m_sleepTime = uint8_t(value);
        showSleepValue();
        emit SleepTimeChanged(m_sleepTime);
        return;
    }
    LedModeInfo *m = shownLedMode();
    if (!m)
        return;
    if (s == m_brightSlider)
        m->bright = uint32_t(value);
    else if (s == m_speedSlider)
        m->breath = uint32_t(value);
}

void KelColorWindow::checkbtn_clicked() {
    emit MoveOffChanged(m_moveOff->isChecked() ? kMoveOffOn : kMoveOffOff);
}

void KelColorWindow::color_clicked() {
    const LedModeInfo *m = shownLedMode();
    if (!m)
        return;
    // The mouse may change the effect while the editor is open: the colour goes to the
    // effect it was chosen for.
    // Another set shown meanwhile (a command importing or resetting profiles, another model) has
    // its own colour there, which this choice was not made for.
    const int effect = m_effect;
    const QColor before = m->RGB;
    KelColorArea editor(m->RGB, this);
    if (editor.exec() != QDialog::Accepted || m_ledModes[effect].RGB != before)
        return;
    if (effect == m_effect)
        slotSendLedState(editor.color());
    else
        m_ledModes[effect].RGB = editor.color();
}

void KelColorWindow::slotSendLedState(QColor color) {
    LedModeInfo *m = shownLedMode();
    if (!m)
        return;
    m->RGB = color;
    m_swatch->setColor(color);
    qCDebug(lcLighting, "slotSendLedState i=%d r=%d g=%d b=%d", m_effect, color.red(),
            color.green(), color.blue());
}

void KelColorWindow::showEffectText() {
    const QString text = effectText(m_effect);
    m_effectBtn->setText(text);
    // A number that names no effect leaves the button blank: a screen reader still names it.
    m_effectBtn->setAccessibleName(text.isEmpty() ? tr("Lighting effect") : QString());
}

void KelColorWindow::retranslateUi() {
    m_effectLabel->setText(tr("EFFECT"));
    m_brightLabel->setText(tr("BRIGHTNESS"));
    m_speedLabel->setText(tr("SPEED"));
    m_colourLabel->setText(tr("COLOR"));
    m_sleepLabel->setText(tr("SLEEP TIME"));
    m_moveOff->setText(tr("MOVE TO LIGHT OFF"));
    m_effectBtn->setAccessibleDescription(tr("Lighting effect"));
    for (KelAction *a : m_effectActions)
        a->setText(effectText(a->id()));
    showEffectText();
    showSleepValue();
}

void KelColorWindow::relayout() {
    m_effectLabel->setGeometry(place(kEffectLabel));
    m_effectBtn->setGeometry(place(kEffectButton));
    m_effectMenu->setMinimumWidth(m_effectBtn->width());
    // Effects without brightness move the speed row up; the brightness row takes its place.
    const bool swap = m_speedInFirstRow;
    m_brightLabel->setGeometry(place(swap ? kSecondRowLabel : kFirstRowLabel));
    m_brightSlider->setGeometry(place(swap ? kSecondRowSlider : kFirstRowSlider));
    m_speedLabel->setGeometry(place(swap ? kFirstRowLabel : kSecondRowLabel));
    m_speedSlider->setGeometry(place(swap ? kFirstRowSlider : kSecondRowSlider));
    // Tab follows the rows as they now lie: the first row's slider after the effect, the
    // second row's after the sleep controls beside the first.
    QWidget::setTabOrder(m_effectBtn, swap ? m_speedSlider : m_brightSlider);
    QWidget::setTabOrder(m_moveOff, swap ? m_brightSlider : m_speedSlider);
    m_colourLabel->setGeometry(place(kColourLabel));
    m_swatch->setGeometry(place(kSwatch));
    // Models that show the sleep time elsewhere (or not at all) get no sleep controls here.
    const bool showSleep = descriptorShowSleep() != 0;
    for (QWidget *w : {static_cast<QWidget *>(m_sleepLabel), static_cast<QWidget *>(m_sleepValue),
                       static_cast<QWidget *>(m_sleepSlider), static_cast<QWidget *>(m_moveOff)})
        w->setVisible(showSleep);
    m_sleepLabel->setGeometry(showSleep ? place(kSleepLabel) : QRect());
    m_sleepSlider->setGeometry(showSleep ? place(kSleepSlider) : QRect());
    m_sleepValue->setGeometry(showSleep ? place(kSleepValue) : QRect());
    m_moveOff->setGeometry(showSleep ? place(kMoveOff) : QRect());
    for (KelSlider *s : {m_brightSlider, m_speedSlider, m_sleepSlider})
        s->refreshStyle();
    m_moveOff->refreshStyle();
}
