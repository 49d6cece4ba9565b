// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button page of the CUSTOMIZE tab: one numbered button per mouse button and one per
// wheel direction, each showing its function; a click opens the menu of functions, and the
// choice goes into the page's copy of the shown record until the window collects it.

#include "ProfileData.h"
#include "SettingsPage.h"

#include <QVector>
#include <QWidget>

class KelAction;
class KelMenu;
class KelPushButton;
class QAction;
class QLabel;

class KelBtnWindow : public QWidget {
    Q_OBJECT

public:
    explicit KelBtnWindow(QWidget *parent = nullptr);

    // Shows a copy of the view's record; the view's sensor code sets the sniper's range.
    void loadPage(const ProfileSet &set, const PageView &view);
    // Writes every button's function into the record it was loaded from.
    void collectProfile(ProfileSet &set) const;
    // Shows the list of a group (bType 0 or 2: the main buttons with the wheel, 1: the second
    // set; 255 keeps the list) and marks button iBtn of bType as the one selected.
    void selectGroup(int iBtn, int bType);
    // Sets every text and rebuilds the main menu for the model.
    void retranslateUi();
    // Lays the page out for the published scale factor in a panel of this height (pixels).
    void relayout(int panelHeight);

    KelPushButton *button(int bType, int iBtn) const;
    QAction *action(int fun) const;
    KelMenu *mainMenu() const { return m_mainMenu; }
    KelMenu *wheelMenu() const { return m_wheelMenu; }
    int currentType() const { return m_bType; }
    int currentIndex() const { return m_iBtn; }

signals:
    // The pointer is over a button of the page (true) or has left it (false).
    void SelBtnControl(KelPushButton *btn, bool bType);
    // The user asked for a macro while there is none: show the macro page (index 3).
    void GotoMacroTab(quint8 iBtn);
    // The last left click cannot be taken away.
    void PopOneClickBox();
    // The user picked button iBtn of group bType to give it a function.
    void SelBtnChanged(quint8 iBtn, quint8 bType);

public slots:
    void slotMouseOver(KelPushButton *btn, bool bType);
    void slotMouseEnter(KelPushButton *btn);

private:
    void createMenus();
    void rebuildMainMenu();
    void refreshLabels();
    void describeRows();
    void showGroupList();
    // Gives the current button a function of the catalogue (KelBtnAssign.cpp).
    void chooseFunction(int fun);
    void chooseMacro(int slot, int fun);
    void chooseSingleKey(int slot);
    void chooseComboKey(int slot);
    void chooseFireKey(int slot);
    void chooseSniper(int slot);
    KelPushButton *currentButton() const;

    ProfileData m_record;
    int m_profileIndex = 0;
    bool m_loaded = false;
    // Counts the loads: a dialog's choice is dropped when another record was shown meanwhile.
    quint64 m_loads = 0;
    int m_sensorCode = 0;
    int m_bType = 255;
    int m_iBtn = 255;
    int m_shownGroup = 0;
    int m_panelHeight = 0;
    KelPushButton *m_groupBtns[2][20] = {};
    KelPushButton *m_wheelBtns[2] = {};
    QLabel *m_wheelArrows[2] = {};
    KelMenu *m_mainMenu = nullptr;
    KelMenu *m_wheelMenu = nullptr;
    KelMenu *m_subMenus[7] = {};
    QVector<KelAction *> m_actions;
};
