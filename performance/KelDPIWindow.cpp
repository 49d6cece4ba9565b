// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelDPIWindow.h"
#include "PerformanceLog.h"

#include "AppConfig.h"
#include "KelCheckBox.h"
#include "KelLabel.h"
#include "KelSingleDPI.h"
#include "KelSlider.h"
#include "KelStageButton.h"
#include "ModelDescriptor.h"
#include "PerformanceLayout.h"
#include "PerformanceRules.h"
#include "Scale.h"

#include <QButtonGroup>
#include <QDebug>
#include <climits>

Q_LOGGING_CATEGORY(lcPerformance, "mousecfg.performance", QtInfoMsg)

using namespace PerformanceLayout;

namespace {
// Stage values are shown as they are held; one beyond int is shown as the largest int.
int shownValue(uint32_t value) {
    return int(qMin<uint32_t>(value, INT_MAX));
}
} // namespace

KelDPIWindow::KelDPIWindow(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("dpiWindow"));
    m_stageCount = shownStageCount(dpiStageCount());
    m_showSleep = descriptorShowSleep() != 0 && descriptorLedDisable() != 0;

    m_title = new KelLabel(this);
    m_title->setDesignPixelSize(14);
    m_title->setBold(true);
    m_title->setStyleSheet(QStringLiteral("color:rgb(235,238,242);"));

    m_stageGroup = new QButtonGroup(this);
    m_stageGroup->setExclusive(true);
    const DpiRange start = dpiRangeFor(m_sensorCode, QString(), descriptor33254());
    for (int i = 0; i < kDpiStageCount; ++i) {
        auto *row = new KelSingleDPI(quint8(i), this);
        m_rows[i] = row;
        row->setSensor(m_sensorCode, start);
        m_stageGroup->addButton(row->stageButton(), i);
        connect(row, &KelSingleDPI::DPISignal, this, &KelDPIWindow::onSliderChanged);
        connect(row, &KelSingleDPI::LinkSignal, this, &KelDPIWindow::onLinkChanged);
        connect(row, &KelSingleDPI::MouseinSignal, this, &KelDPIWindow::MouseinSignal);
        connect(row, &KelSingleDPI::EnableSignal, this, &KelDPIWindow::onEnableChanged);
    }
    connect(m_stageGroup, &QButtonGroup::idClicked, this, &KelDPIWindow::onRadioChanged);

    m_sleepLabel = new KelLabel(this);
    m_sleepLabel->setDesignPixelSize(12);
    m_sleepLabel->setStyleSheet(QStringLiteral("color:rgb(220,220,220);"));
    m_sleepSlider = new KelSlider(this);
    int sleepMin = 1;
    int sleepMax = 9;
    readSleepRange(sleepMin, sleepMax);
    m_sleepSlider->setRange(sleepMin, qMax(sleepMin, sleepMax));
    m_sleepSlider->setSingleStep(1);
    m_sleepSlider->setPageStep(1);
    m_sleepValue = new KelLabel(this);
    m_sleepValue->setDesignPixelSize(12);
    m_sleepValue->setStyleSheet(QStringLiteral("color:rgb(220,220,220);"));
    m_moveOffBox = new KelCheckBox(QString(), this);
    m_moveOffBox->setDesignPixelSize(12);
    m_sleepLabel->setBuddy(m_sleepSlider);
    connect(m_sleepSlider, &QSlider::valueChanged, this, &KelDPIWindow::slider_clicked);
    connect(m_moveOffBox, &QCheckBox::clicked, this, &KelDPIWindow::checkbtn_clicked);

    retranslateUi();
    showSleepValue(m_sleepSlider->value());
    relayout();
}

void KelDPIWindow::loadPage(const ProfileSet &set, const PageView &view) {
    m_profileIndex = qBound(0, view.profile, kProfileCount - 1);
    m_ProfileData = set.profiles[m_profileIndex];
    setSensorCode(view.sensorCode);
    for (int i = 0; i < kDpiStageCount; ++i) {
        const DpiInfo &stage = m_ProfileData.dpiInfo[i];
        m_rows[i]->setLink(stage.link);
        m_rows[i]->setValues(shownValue(stage.x), shownValue(stage.y));
        m_rows[i]->setUsed(stage.used);
    }
    showActiveStage();
    showLightingOptions(set.profiles[0].LedSleepTime, set.profiles[0].LedMoveOFF);
}

void KelDPIWindow::showLightingOptions(quint8 sleepTime, quint8 moveOff) {
    {
        const QSignalBlocker blocker(m_sleepSlider);
        m_sleepSlider->setValue(sleepTime);
    }
    // The value label tells the minutes held, also where the slider cannot show them.
    showSleepValue(sleepTime);
    m_moveOffBox->setChecked(moveOff == moveOffValue(true));
}

void KelDPIWindow::collectProfile(ProfileSet &set) const {
    ProfileData &p = set.profiles[m_profileIndex];
    p.dpi = m_ProfileData.dpi;
    for (int i = 0; i < kDpiStageCount; ++i)
        p.dpiInfo[i] = m_ProfileData.dpiInfo[i];
}

void KelDPIWindow::setSensorCode(int code) {
    m_sensorCode = code;
    // Only 3327 depends on the product and only 3325 and 33252 on the descriptor's variant
    // flag; the files are read for those alone, as the page is loaded at every switch.
    const QString product = code == 3327 ? currentProductName() : QString();
    const int variant = code == 3325 || code == 33252 ? descriptor33254() : 0;
    const DpiRange range = dpiRangeFor(code, product, variant);
    for (KelSingleDPI *row : m_rows)
        row->setSensor(code, range);
}

void KelDPIWindow::setActiveStage(quint8 stage) {
    // The mouse went to a stage turned off here but not yet sent: it is in use, as a stage
    // chosen here is.
    if (stage < m_stageCount && m_ProfileData.dpiInfo[stage].used == 0) {
        m_ProfileData.dpiInfo[stage].used = 1;
        m_rows[stage]->setUsed(1);
    }
    m_ProfileData.dpi = stage;
    showActiveStage();
}

void KelDPIWindow::showActiveStage() {
    const int active = m_ProfileData.activeStage();
    // A stage number the rows do not have leaves every stage button off.
    m_stageGroup->setExclusive(false);
    for (int i = 0; i < kDpiStageCount; ++i) {
        m_rows[i]->stageButton()->setChecked(i == active);
        m_rows[i]->setActive(i == active);
    }
    m_stageGroup->setExclusive(true);
}

void KelDPIWindow::relayout() {
    // The rows keep their full height while they fit above the sensor page: they move up
    // into the title's room as far as it allows, then the title gives way and the rows
    // share what is left.
    const int bottom = m_showSleep ? kSleepTop - kRowGap : kDpiUsableBottom;
    const int top = qBound(kRowsTopMin, bottom - kRowPitch * m_stageCount, kRowY);
    const int pitch = qMin(kRowPitch, (bottom - top) / m_stageCount);
    const int rowH = pitch - kRowGap;
    const bool titleFits = top >= kDpiTitle.bottom() + 1;
    m_title->setGeometry(titleFits ? placed(kDpiTitle) : QRect());
    m_title->setVisible(titleFits);
    for (int i = 0; i < kDpiStageCount; ++i) {
        const bool shown = i < m_stageCount;
        m_rows[i]->setGeometry(shown ? scaledRect(kRowX, top + pitch * i, kRowW, rowH) : QRect());
        m_rows[i]->setVisible(shown);
        // Hidden itself, a stage button is out of the stage group's keyboard walk too.
        m_rows[i]->stageButton()->setHidden(!shown);
        m_rows[i]->relayout(rowH);
    }
    const auto place = [this](QWidget *w, const QRect &design) {
        w->setGeometry(m_showSleep ? placed(design) : QRect());
        w->setVisible(m_showSleep);
    };
    place(m_sleepLabel, kSleepLabel);
    place(m_sleepSlider, kSleepSlider);
    place(m_sleepValue, kSleepValue);
    place(m_moveOffBox, kMoveOff);
    m_sleepSlider->refreshStyle();
    m_moveOffBox->refreshStyle();
}

void KelDPIWindow::retranslateUi() {
    m_title->setText(tr("DPI"));
    m_sleepLabel->setText(tr("SLEEP TIME"));
    m_moveOffBox->setText(tr("MOVE TO LIGHT OFF"));
    showSleepValue(m_sleepValue->property("minutes").toInt());
    for (KelSingleDPI *row : m_rows)
        row->retranslateUi();
}

QString KelDPIWindow::sleepText() const {
    return m_sleepValue->text();
}

void KelDPIWindow::showSleepValue(int minutes) {
    m_sleepValue->setProperty("minutes", minutes);
    m_sleepValue->setText(QString::number(minutes) + tr(" MINUTE"));
}

void KelDPIWindow::onRadioChanged(int id) {
    // Only a stage the model has can be the active one; its button shows lit again.
    if (id < 0 || id >= m_stageCount) {
        showActiveStage();
        return;
    }
    // The mouse's DPI button passes over unused stages: a stage chosen as the active one is
    // used from now on.
    if (m_ProfileData.dpiInfo[id].used == 0) {
        m_ProfileData.dpiInfo[id].used = 1;
        m_rows[id]->setUsed(1);
    }
    m_ProfileData.dpi = quint8(id);
    qCDebug(lcPerformance, "m_ProfileData.dpi = %d", id);
    showActiveStage();
}

void KelDPIWindow::onLinkChanged(quint8 link, quint8 stage) {
    if (stage < kDpiStageCount)
        m_ProfileData.dpiInfo[stage].link = link;
}

void KelDPIWindow::onEnableChanged(quint8 used, quint8 stage) {
    if (stage >= kDpiStageCount)
        return;
    if (used == 0) {
        // The nearest other stage in use among the rows shown, after this one first.
        int nearest = -1;
        for (int d = 1; d < m_stageCount && nearest < 0; ++d) {
            for (const int i : {stage + d, stage - d}) {
                if (nearest < 0 && i >= 0 && i < m_stageCount && m_ProfileData.dpiInfo[i].used)
                    nearest = i;
            }
        }
        // The last stage in use stays: a mouse needs one.
        if (nearest < 0) {
            m_rows[stage]->setUsed(1);
            return;
        }
        // The active stage given up hands over to the nearest one in use.
        if (m_ProfileData.dpi == stage) {
            m_ProfileData.dpi = quint8(nearest);
            showActiveStage();
        }
    }
    m_ProfileData.dpiInfo[stage].used = used;
}

void KelDPIWindow::onSliderChanged(int x, int y, quint8 stage) {
    if (stage >= kDpiStageCount)
        return;
    m_ProfileData.dpiInfo[stage].x = uint32_t(qMax(0, x));
    m_ProfileData.dpiInfo[stage].y = uint32_t(qMax(0, y));
}

void KelDPIWindow::checkbtn_clicked() {
    const quint8 value = moveOffValue(m_moveOffBox->isChecked());
    m_ProfileData.LedMoveOFF = value;
    emit MoveOffChanged(value);
}

void KelDPIWindow::slider_clicked(int iValue) {
    showSleepValue(iValue);
    emit SleepTimeChanged(quint8(iValue));
}
