// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelBtnWindow.h"

#include "ButtonCatalogue.h"
#include "ButtonsLayout.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "Scale.h"
#include "SensorTables.h"
#include "SkinImage.h"

#include <QLabel>

#include <algorithm>
#include <iterator>

using namespace ButtonsLayout;

KelBtnWindow::KelBtnWindow(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("btnWindow"));
    const QStringList pictures = skinStates(QStringLiteral("button"), 3);
    auto makeButton = [&] {
        auto *b = new KelPushButton(pictures, this);
        b->setToggleMode(true);
        connect(b, &KelPushButton::EnterSignal, this, &KelBtnWindow::slotMouseEnter);
        connect(b, &KelPushButton::OverSignal, this, &KelBtnWindow::slotMouseOver);
        return b;
    };
    for (auto &group : m_groupBtns) {
        for (KelPushButton *&b : group)
            b = makeButton();
    }
    const QString arrows[kWheelButtons] = {QStringLiteral("btn_up2.png"),
                                           QStringLiteral("btn_down2.png")};
    for (int i = 0; i < kWheelButtons; ++i) {
        m_wheelBtns[i] = makeButton();
        m_wheelArrows[i] = new QLabel(this);
        m_wheelArrows[i]->setPixmap(QPixmap(skinPath(arrows[i])));
        m_wheelArrows[i]->setScaledContents(true);
    }
    createMenus();
    retranslateUi();
    showGroupList();
}

void KelBtnWindow::createMenus() {
    m_mainMenu = new KelMenu(this);
    m_wheelMenu = new KelMenu(this);
    for (KelMenu *&sub : m_subMenus)
        sub = new KelMenu(this);
    for (const CatalogueEntry &entry : functionCatalogue()) {
        auto *action = new KelAction(QString(), this, entry.fun);
        const int fun = entry.fun;
        connect(action, &QAction::triggered, this, [this, fun] { chooseFunction(fun); });
        m_actions.append(action);
        if (entry.menu >= MenuBasic && entry.menu <= MenuProfile)
            m_subMenus[entry.menu - MenuBasic]->addAction(action);
    }
    for (int fun : wheelMenuFunctions())
        m_wheelMenu->addAction(action(fun));
    // The highlight of the button whose function was being chosen goes when the menu does.
    for (KelMenu *menu : {m_mainMenu, m_wheelMenu}) {
        connect(menu, &QMenu::aboutToHide, this, [this] {
            if (KelPushButton *b = currentButton())
                emit SelBtnControl(b, false);
        });
        // The menu is for the button that opened it (held down meanwhile), also when a screen
        // reader's press opened it without the press or key that makes a button current.
        connect(menu, &QMenu::aboutToShow, this, [this] {
            for (int bType = 0; bType < 3; ++bType) {
                for (int i = 0; i < kGroupButtons; ++i) {
                    KelPushButton *b = button(bType, i);
                    if (b && b->isDown() && b != currentButton())
                        slotMouseEnter(b);
                }
            }
        });
    }
    for (KelPushButton *b : m_groupBtns[0])
        b->setMenu(m_mainMenu);
    for (KelPushButton *b : m_groupBtns[1])
        b->setMenu(m_mainMenu);
    for (KelPushButton *b : m_wheelBtns)
        b->setMenu(m_wheelMenu);
}

// Every function the mouse carries can be chosen here, the sniper, the gun files and the
// profile steps included; macros and the lighting switch only where the model has them.
void KelBtnWindow::rebuildMainMenu() {
    m_mainMenu->clear();
    for (const CatalogueEntry &entry : functionCatalogue()) {
        if (entry.menu == MenuTop && entry.fun <= 5)
            m_mainMenu->addAction(action(entry.fun));
    }
    for (KelMenu *sub : m_subMenus)
        m_mainMenu->addMenu(sub);
    const bool macros = descriptorDisableMacro() == 0;
    const bool lighting = descriptorLedDisable() == 0;
    // Offered only where the mouse takes the chosen step with the model's sensor.
    if (hasSniperRule(m_sensorCode))
        m_mainMenu->addAction(action(FunSniper));
    if (macros) {
        m_mainMenu->addAction(action(FunMacroManager));
        m_mainMenu->addAction(action(FunGunFile));
    }
    if (lighting)
        m_mainMenu->addAction(action(FunLedSwitch));
    m_mainMenu->addAction(action(16));
}

void KelBtnWindow::retranslateUi() {
    static const CatalogueMenu kOrder[] = {MenuBasic, MenuWindows, MenuAdvance, MenuMedia,
                                           MenuDpi,   MenuPolling, MenuProfile};
    for (CatalogueMenu menu : kOrder)
        m_subMenus[menu - MenuBasic]->setTitle(subMenuTitle(menu));
    for (KelAction *a : m_actions) {
        if (const CatalogueEntry *entry = catalogueEntry(a->id()))
            a->setText(functionText(*entry));
    }
    rebuildMainMenu();
    refreshLabels();
    const QString wheel[kWheelButtons] = {tr("Wheel up"), tr("Wheel down")};
    for (int i = 0; i < kWheelButtons; ++i) {
        m_wheelArrows[i]->setAccessibleName(wheel[i]);
        m_wheelBtns[i]->setAccessibleDescription(wheel[i]);
    }
    describeRows();
    showGroupList();
}

// A screen reader reads a row as its function, then the button it belongs to, by the number
// the row shows.
void KelBtnWindow::describeRows() {
    for (auto &group : m_groupBtns) {
        for (KelPushButton *b : group)
            b->setAccessibleDescription(tr("Button %1").arg(b->number()));
    }
}

void KelBtnWindow::loadPage(const ProfileSet &set, const PageView &view) {
    const int index = qBound(0, view.profile, kProfileCount - 1);
    if (index != m_profileIndex)
        KelMenu::closeOpenMenus(this);
    m_profileIndex = index;
    m_record = set.profiles[m_profileIndex];
    if (view.sensorCode != m_sensorCode) {
        m_sensorCode = view.sensorCode;
        rebuildMainMenu();
    }
    m_loaded = true;
    ++m_loads;
    refreshLabels();
}

void KelBtnWindow::collectProfile(ProfileSet &set) const {
    if (!m_loaded)
        return;
    ProfileData &out = set.profiles[m_profileIndex];
    std::copy(std::begin(m_record.buttons), std::end(m_record.buttons), std::begin(out.buttons));
}

void KelBtnWindow::refreshLabels() {
    for (int group = 0; group < 2; ++group) {
        for (int i = 0; i < kGroupButtons; ++i) {
            const int slot = buttonSlot(group, i);
            const QString label =
                m_loaded ? functionLabel(m_record.buttons[slot], false) : QString();
            m_groupBtns[group][i]->setText(label);
            // Read as shown: a "&" in a macro's name is no shortcut mark.
            m_groupBtns[group][i]->setAccessibleName(label);
        }
    }
    for (int i = 0; i < kWheelButtons; ++i) {
        const QString label =
            m_loaded ? functionLabel(m_record.buttons[buttonSlot(2, i)], true) : QString();
        m_wheelBtns[i]->setText(label);
        m_wheelBtns[i]->setAccessibleName(label);
    }
}

void KelBtnWindow::selectGroup(int iBtn, int bType) {
    if (bType != kNoSelection)
        m_shownGroup = bType == 1 ? 1 : 0;
    showGroupList();
    for (int group = 0; group < 2; ++group) {
        for (int i = 0; i < kGroupButtons; ++i)
            m_groupBtns[group][i]->setChecked(group == bType && i == iBtn);
    }
    for (int i = 0; i < kWheelButtons; ++i)
        m_wheelBtns[i]->setChecked(bType == 2 && i == iBtn);
    refreshLabels();
}

void KelBtnWindow::showGroupList() {
    // A button the model does not have gets no row (an empty place), and stays hidden, also
    // from screen readers.
    for (int group = 0; group < 2; ++group) {
        for (KelPushButton *b : m_groupBtns[group])
            b->setVisible(group == m_shownGroup && !b->geometry().isEmpty());
    }
    for (int i = 0; i < kWheelButtons; ++i) {
        m_wheelBtns[i]->setVisible(m_shownGroup == 0);
        m_wheelArrows[i]->setVisible(m_shownGroup == 0);
    }
}

void KelBtnWindow::relayout(int panelHeight) {
    m_panelHeight = panelHeight;
    m_mainMenu->setFixedWidth(scaled(kMenuWidth));
    m_wheelMenu->setFixedWidth(scaled(kMenuWidth));
    for (KelMenu *sub : m_subMenus)
        sub->setFixedWidth(scaled(kMenuWidth));
    int8_t matrix[kDescriptorButtonKeys] = {};
    const int n = qMin(readButtonMatrix2(matrix), kDescriptorButtonKeys);
    if (n <= 0)
        return;
    int visible = 0;
    for (int i = 0; i < n; ++i)
        visible += matrix[i] == -1 ? 0 : 1;

    // A long list scrolls with fixed gaps; a short one shares the panel out evenly.
    const double f = scaleFactor();
    const double row = kListH * f;
    double top = kLongListTop * f;
    double gap = kLongListGap * f;
    int height = roundHalfEven(top + visible * (row + gap));
    if (visible <= kLongListLimit) {
        height = qMax(panelHeight, scaled(visible * kListH + (visible + 1) * kMinGap));
        gap = (height - row * visible) / (visible + 1);
        top = gap;
    }
    setFixedSize(scaled(kFrameWidth), height);

    auto rowTop = [&](int k) { return roundHalfEven(top + (gap + row) * k); };
    int c = 0;
    for (int i = 0; i < kGroupButtons; ++i) {
        QRect place;
        if (i < n && matrix[i] != -1)
            place = QRect(scaled(kListX), rowTop(c++), scaled(kListW), scaled(kListH));
        for (auto &group : m_groupBtns) {
            group[i]->setGeometry(place);
            group[i]->setNumber(place.isEmpty() ? KelPushButton::kNoNumber : c);
        }
    }
    describeRows();
    // The wheel keeps to the foot of a short list, clear of the mouse pictures above it.
    const int first = visible <= kLongListLimit ? qMax(0, visible - kWheelButtons) : 0;
    for (int i = 0; i < kWheelButtons; ++i) {
        const int y = rowTop(first + i);
        m_wheelBtns[i]->setGeometry(scaled(kWheelX), y, scaled(kWheelW), scaled(kListH));
        m_wheelArrows[i]->setGeometry(scaled(kWheelArrowX),
                                      y + (scaled(kListH) - scaled(kWheelArrowH)) / 2,
                                      scaled(kWheelArrowW), scaled(kWheelArrowH));
    }
}

KelPushButton *KelBtnWindow::button(int bType, int iBtn) const {
    const int slot = buttonSlot(bType, iBtn);
    if (slot < 0)
        return nullptr;
    return bType == 2 ? m_wheelBtns[iBtn] : m_groupBtns[bType][iBtn];
}

KelPushButton *KelBtnWindow::currentButton() const {
    return button(m_bType, m_iBtn);
}

QAction *KelBtnWindow::action(int fun) const {
    for (KelAction *a : m_actions) {
        if (a->id() == fun)
            return a;
    }
    return nullptr;
}

void KelBtnWindow::slotMouseOver(KelPushButton *btn, bool bType) {
    emit SelBtnControl(btn, bType);
}

void KelBtnWindow::slotMouseEnter(KelPushButton *btn) {
    for (int bType = 0; bType < 3; ++bType) {
        for (int i = 0; i < kGroupButtons; ++i) {
            if (button(bType, i) != btn)
                continue;
            m_bType = bType;
            m_iBtn = i;
            emit SelBtnChanged(quint8(i), quint8(bType));
            return;
        }
    }
}
