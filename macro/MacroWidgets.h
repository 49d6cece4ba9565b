// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small pieces the macro page and its parts are built from: command buttons, fields,
// check boxes and labels in the page's look, placing by design rectangle, and the warning box.

#include <QRect>
#include <QString>

class KelCheckBox;
class KelLabel;
class KelLineEdit;
class KelPushButton;
class QValidator;
class QWidget;

// A design rectangle times the published scale factor.
QRect macroPlace(const QRect &design);

// A skinned command button that takes no keyboard focus (keys belong to the recorder).
KelPushButton *macroButton(QWidget *parent, const char *objectName);
// A dark field of at most maxLength characters, with an optional validator it then owns.
KelLineEdit *macroField(QWidget *parent, const char *objectName, int maxLength,
                        QValidator *validator = nullptr);
KelCheckBox *macroCheckBox(QWidget *parent, const char *objectName);
// A label in light grey.
KelLabel *macroLabel(QWidget *parent);

// Style sheet rules for the dark, slim vertical scroll bars of the page's lists.
QString macroScrollBarStyle();

// The modal warning box of the macro page.
void macroWarning(QWidget *parent, const QString &text);
