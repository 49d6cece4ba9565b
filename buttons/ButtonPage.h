// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CUSTOMIZE page as the window holds it: the button page in a scroll area of the skin's
// look, for models with more buttons than the panel holds.

#include "SettingsPage.h"

#include <QScrollArea>

class KelBtnWindow;

class ButtonPage : public QScrollArea, public SettingsPage {
    Q_OBJECT

public:
    explicit ButtonPage(QWidget *parent = nullptr);

    void loadPage(const ProfileSet &set, const PageView &view) override;
    void collectProfile(ProfileSet &set) const override;
    void retranslateUi() override;
    void relayout() override;

    // Marks button iBtn of a group as selected (as KelBtnWindow::selectGroup) and scrolls
    // it into view.
    void selectGroup(int iBtn, int group);

    KelBtnWindow *buttons() const { return m_buttons; }

private:
    KelBtnWindow *m_buttons = nullptr;
};
