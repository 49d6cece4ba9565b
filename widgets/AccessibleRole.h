// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a button is to a screen reader when the role Qt gives its class is wrong: a checkable
// push button is a check box to Qt, while the window's page tabs are tabs and its profile slots
// one choice out of five.

#include <QAccessible>

class QAbstractButton;

// Gives button the role (QAccessible::PageTab or QAccessible::RadioButton), also when Qt has
// made its interface already. A tab is selected while it is checked, a radio button checked; both
// offer the press action.
void setAccessibleRole(QAbstractButton *button, QAccessible::Role role);
