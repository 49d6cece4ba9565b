// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotSelector.h"

#include "AccessibleRole.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "MainLayout.h"
#include "Scale.h"
#include "SkinImage.h"

using namespace MainLayout;

SlotSelector::SlotSelector(QWidget *window) : QObject(window) {
    const QStringList indicator = skinStates(QStringLiteral("profile"), 3);
    for (int i = 0; i < kSlots; ++i) {
        m_indicators[i] = new KelPushButton(indicator, window);
        m_indicators[i]->setToggleMode(true);
        setAccessibleRole(m_indicators[i], QAccessible::RadioButton);
        m_indicators[i]->setObjectName(QStringLiteral("profileBtn%1").arg(i + 1));
        connect(m_indicators[i], &QPushButton::clicked, this, [this, i] { emit slotChosen(i); });
    }
    m_menuButton = new KelPushButton(skinStates(QStringLiteral("button"), 4), window);
    m_menu = new KelMenu(window);
    for (int i = 0; i < kSlots; ++i) {
        m_actions[i] = m_menu->addAction(QString());
        connect(m_actions[i], &QAction::triggered, this, [this, i] { emit slotChosen(i); });
    }
    m_menuButton->setMenu(m_menu);
}

void SlotSelector::showActive(int index) {
    if (index < 0 || index >= kSlots)
        return;
    m_active = index;
    for (int i = 0; i < kSlots; ++i)
        m_indicators[i]->setChecked(i == index);
    m_menuButton->setText(m_actions[index]->text());
}

void SlotSelector::relayout() {
    for (int i = 0; i < kSlots; ++i)
        m_indicators[i]->setGeometry(
            scaledRect(kProfileX, kProfileY + i * kProfileStep, kProfileW, kProfileH));
    m_menuButton->setGeometry(scaledRect(kSlotButton));
}

void SlotSelector::retranslateUi() {
    for (int i = 0; i < kSlots; ++i) {
        m_indicators[i]->setText(tr("Profile") + QStringLiteral(" %1").arg(i + 1));
        m_actions[i]->setText(tr("Mode") + QStringLiteral(" %1").arg(i + 1));
    }
    m_menuButton->setText(m_actions[m_active]->text());
}

void SlotSelector::setEnabled(bool on) {
    for (KelPushButton *b : m_indicators)
        b->setEnabled(on);
    m_menuButton->setEnabled(on);
}

QList<QWidget *> SlotSelector::indicators() const {
    QList<QWidget *> list;
    for (KelPushButton *b : m_indicators)
        list << b;
    return list;
}

QWidget *SlotSelector::menuButton() const {
    return m_menuButton;
}
