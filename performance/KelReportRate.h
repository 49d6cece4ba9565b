// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report-rate page: the profile's report rate, chosen from a menu, and the mouse's
// lift-off distance. The rate waits in the page's copy of the profile until Apply; the
// lift-off distance goes to the window at once (RefreshLift).

#include "ProfileData.h"
#include "SettingsPage.h"

#include <QWidget>

class KelAction;
class KelLabel;
class KelMenu;
class KelPushButton;
class KelRadioButton;
class QAction;
class QButtonGroup;

class KelReportRate : public QWidget, public SettingsPage {
    Q_OBJECT

public:
    explicit KelReportRate(QWidget *parent = nullptr);

    // Shows a copy of the view's profile and the set's lift-off distance (1 or 2; anything
    // else shows as 2). Showing is never an edit.
    void loadPage(const ProfileSet &set, const PageView &view) override;
    // Writes the report rate into the profile it was loaded from.
    void collectProfile(ProfileSet &set) const override;
    // The mouse changed its report rate: shown at once.
    void setReportRate(quint8 code);
    void relayout() override;
    void retranslateUi() override;

    quint8 reportRate() const { return m_profile.pollrate; }
    quint8 lift() const { return m_iLift; }
    QString rateCaption() const;
    KelMenu *rateMenu() const { return m_rateMenu; }
    KelRadioButton *liftButton(int id) const { return m_liftButtons[id]; }

signals:
    void RefreshLift(quint8 iLift);

public slots:
    void onRadioChanged();

private slots:
    void onRateChosen(QAction *action);

private:
    void showRate();

    ProfileData m_profile;
    int m_profileIndex = 0;
    quint8 m_iLift = 2;
    KelLabel *m_title = nullptr;
    KelPushButton *m_rateButton = nullptr;
    KelMenu *m_rateMenu = nullptr;
    KelAction *m_rateActions[4] = {};
    KelLabel *m_liftLabel = nullptr;
    QButtonGroup *m_liftGroup = nullptr;
    KelRadioButton *m_liftButtons[2] = {};
};
