// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five profile slots as the window shows them: an indicator button per slot at the left
// (the active one lit) and the "Mode" button with its menu among the commands. Either
// chooses a slot.

#include <QList>
#include <QObject>

class KelMenu;
class KelPushButton;
class QAction;
class QWidget;

class SlotSelector : public QObject {
    Q_OBJECT

public:
    static constexpr int kSlots = 5;

    explicit SlotSelector(QWidget *window);

    // Lights the slot's indicator and names it on the menu button.
    void showActive(int index);
    void relayout();
    void retranslateUi();
    void setEnabled(bool on);
    // The slot indicators from the top, and the "Mode" button, for the window's Tab order.
    QList<QWidget *> indicators() const;
    QWidget *menuButton() const;

signals:
    void slotChosen(int index);

private:
    KelPushButton *m_indicators[kSlots] = {};
    KelPushButton *m_menuButton = nullptr;
    KelMenu *m_menu = nullptr;
    QAction *m_actions[kSlots] = {};
    int m_active = 0;
};
