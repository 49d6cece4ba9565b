// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The step editors of the macro page's edit mode: the key of a key step (set by pressing a
// key while its field has the focus), the delay of a delay step, the distance of a movement. Only
// the editor of the shown step's kind is enabled; the page writes the changes into the step.

#include "MacroFile.h"

#include <QWidget>

class KelLabel;
class KelLineEdit;

class MacroStepEditor : public QWidget {
    Q_OBJECT

public:
    MacroStepEditor(int unit, QWidget *parent = nullptr);

    // Shows a step (an empty step for none) without reporting it as an edit.
    void showStep(const MacroEvent &e);
    // Shows the key set by a key press.
    void showKey(const QString &name);
    // The direction of the movement shown (a MoveDirection).
    int direction() const { return m_direction; }
    // The field that shows a key step's key; keys typed while it has the focus set the key.
    QWidget *keyField() const;
    // Gives the focus to the editor of the step shown, if it has one.
    void focusEditor();

    void retranslateUi();
    void relayout();

signals:
    // The user typed a delay or a distance.
    void delayEdited(const QString &text);
    void moveEdited(const QString &text);

private:
    int m_unit;
    int m_direction = 0;
    MacroEvent m_step;
    KelLabel *m_keyLabel = nullptr;
    KelLineEdit *m_key = nullptr;
    KelLabel *m_delayLabel = nullptr;
    KelLineEdit *m_delay = nullptr;
    KelLabel *m_moveLabel = nullptr;
    KelLineEdit *m_move = nullptr;
};
