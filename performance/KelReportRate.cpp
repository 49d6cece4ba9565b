// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelReportRate.h"
#include "PerformanceLog.h"

#include "AppDir.h"
#include "KelCheckBox.h"
#include "KelLabel.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "PerformanceLayout.h"
#include "PerformanceRules.h"
#include "ProfileData.h"
#include "Scale.h"

#include <QButtonGroup>
#include <QDebug>

using namespace PerformanceLayout;

KelReportRate::KelReportRate(QWidget *parent) : QWidget(parent) {
    makePanel(this, QStringLiteral("reportRate"));

    m_title = new KelLabel(this);
    m_title->setDesignPixelSize(14);
    m_title->setBold(true);
    m_title->setStyleSheet(QStringLiteral("color:rgb(235,238,242);"));

    m_rateButton = new KelPushButton({AppDir::path() + QStringLiteral("/skin/rate.png")}, this);
    m_rateButton->setObjectName(QStringLiteral("rateButton"));
    m_rateMenu = new KelMenu(this);
    for (int i = 0; i < kRateChoiceCount; ++i) {
        m_rateActions[i] = new KelAction(QString(), m_rateMenu, rateCodeAt(i));
        m_rateMenu->addAction(m_rateActions[i]);
    }
    m_rateButton->setMenu(m_rateMenu);
    connect(m_rateMenu, &QMenu::triggered, this, &KelReportRate::onRateChosen);

    m_liftLabel = new KelLabel(this);
    m_liftLabel->setDesignPixelSize(12);
    m_liftLabel->setStyleSheet(QStringLiteral("color:rgb(220,220,220);"));
    m_liftGroup = new QButtonGroup(this);
    for (int id = 0; id < 2; ++id) {
        m_liftButtons[id] = new KelRadioButton(QString(), this);
        m_liftButtons[id]->setDesignPixelSize(12);
        m_liftGroup->addButton(m_liftButtons[id], id);
    }
    m_liftButtons[1]->setChecked(true);
    connect(m_liftGroup, &QButtonGroup::idClicked, this, &KelReportRate::onRadioChanged);

    retranslateUi();
    relayout();
}

void KelReportRate::loadPage(const ProfileSet &set, const PageView &view) {
    const int index = qBound(0, view.profile, kProfileCount - 1);
    if (index != m_profileIndex)
        KelMenu::closeOpenMenus(this);
    m_profileIndex = index;
    m_profile = set.profiles[m_profileIndex];
    showRate();
    m_iLift = boundedLift(set.LiftHigh);
    m_liftButtons[m_iLift - 1]->setChecked(true);
}

void KelReportRate::collectProfile(ProfileSet &set) const {
    set.profiles[m_profileIndex].pollrate = m_profile.pollrate;
}

void KelReportRate::setReportRate(quint8 code) {
    m_profile.pollrate = code;
    showRate();
}

QString KelReportRate::rateCaption() const {
    return m_rateButton->text();
}

// A code outside the list shows no rate, rather than the text of the profile shown before.
void KelReportRate::showRate() {
    const QString text = reportRateText(m_profile.pollrate);
    m_rateButton->setText(text);
    // Without a caption a screen reader still has a name to read.
    m_rateButton->setAccessibleName(text.isEmpty() ? tr("Report rate") : QString());
}

void KelReportRate::relayout() {
    m_title->setGeometry(placed(kRateTitle));
    m_rateButton->setGeometry(placed(kRateButton));
    m_rateMenu->setFixedWidth(scaled(kRateMenuWidth));
    m_liftLabel->setGeometry(placed(kLiftLabel));
    m_liftButtons[0]->setGeometry(placed(kLift1));
    m_liftButtons[1]->setGeometry(placed(kLift2));
    for (KelRadioButton *button : m_liftButtons)
        button->refreshStyle();
}

void KelReportRate::retranslateUi() {
    m_title->setText(tr("REPORT RATE"));
    for (KelAction *action : m_rateActions)
        action->setText(reportRateText(action->id()));
    m_liftLabel->setText(tr("Lift off Distance"));
    m_rateButton->setAccessibleDescription(tr("Report rate"));
    m_liftButtons[0]->setText(tr("1 mm"));
    m_liftButtons[1]->setText(tr("2 mm"));
    showRate();
}

void KelReportRate::onRadioChanged() {
    const int id = m_liftGroup->checkedId();
    if (id < 0)
        return;
    m_iLift = quint8(id + 1);
    qCDebug(lcPerformance, "m_iLift = %d", m_iLift);
    emit RefreshLift(m_iLift);
}

void KelReportRate::onRateChosen(QAction *action) {
    const auto *rate = qobject_cast<KelAction *>(action);
    if (!rate || rate->id() == 0)
        return;
    m_profile.pollrate = quint8(rate->id());
    showRate();
}
