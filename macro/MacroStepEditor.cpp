// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroStepEditor.h"

#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMacroItemDelegate.h"
#include "KelTreeWidget.h"
#include "MacroLayout.h"
#include "MacroRules.h"
#include "MacroWidgets.h"

#include <QIntValidator>
#include <QSignalBlocker>

using namespace MacroLayout;

MacroStepEditor::MacroStepEditor(int unit, QWidget *parent) : QWidget(parent), m_unit(unit) {
    m_keyLabel = macroLabel(this);
    m_key = macroField(this, "macroEditKey", 32);
    m_key->setReadOnly(true);
    m_delayLabel = macroLabel(this);
    m_delay = macroField(this, "macroEditDelay", 7,
                         new QIntValidator(0, kMaxDelayCount * boundedDelayUnit(unit)));
    m_moveLabel = macroLabel(this);
    m_move = macroField(this, "macroEditMove", 3, new MyIntValidator2);
    // A screen reader names each field by the label before it.
    m_keyLabel->setBuddy(m_key);
    m_delayLabel->setBuddy(m_delay);
    m_moveLabel->setBuddy(m_move);
    connect(m_delay, &QLineEdit::textEdited, this, &MacroStepEditor::delayEdited);
    connect(m_move, &QLineEdit::textEdited, this, &MacroStepEditor::moveEdited);
    showStep(MacroEvent());
}

void MacroStepEditor::showStep(const MacroEvent &e) {
    m_step = e;
    const int kind = e.Map & 0x7F;
    const QSignalBlocker blockDelay(m_delay);
    const QSignalBlocker blockMove(m_move);
    m_key->setText(kind == MacroKindKey || kind == MacroKindButton
                       ? KelMacroItemDelegate::cellText(e, 0, m_unit)
                       : QString());
    m_key->setEnabled(kind == MacroKindKey);
    m_delay->setText(kind == MacroKindDelay ? QString::number(delayMs(e, m_unit)) : QString());
    m_delay->setEnabled(kind == MacroKindDelay);
    MoveDirection direction = MoveDirection(m_direction);
    int distance = 0;
    const bool moves = kind == MacroKindMove && moveOf(e, direction, distance);
    m_direction = direction;
    m_moveLabel->setText(KelMacroItemDelegate::moveName(direction));
    m_move->setText(moves ? QString::number(distance) : QString());
    m_move->setEnabled(moves);
}

QWidget *MacroStepEditor::keyField() const {
    return m_key;
}

void MacroStepEditor::focusEditor() {
    for (KelLineEdit *field : {m_key, m_delay, m_move}) {
        if (field->isEnabled()) {
            field->setFocus();
            return;
        }
    }
}

void MacroStepEditor::showKey(const QString &name) {
    m_key->setText(name);
}

void MacroStepEditor::retranslateUi() {
    m_keyLabel->setText(tr("KEY"));
    m_delayLabel->setText(tr("DELAY(ms)"));
    showStep(m_step);
}

void MacroStepEditor::relayout() {
    setGeometry(macroPlace(kStepEditor));
    const QPoint origin = kStepEditor.topLeft();
    const struct {
        QWidget *widget;
        QRect place;
    } parts[] = {{m_keyLabel, kEditKeyLabel},     {m_key, kEditKey},
                 {m_delayLabel, kEditDelayLabel}, {m_delay, kEditDelay},
                 {m_moveLabel, kEditMoveLabel},   {m_move, kEditMove}};
    for (const auto &p : parts)
        p.widget->setGeometry(macroPlace(p.place.translated(-origin)));
}
