// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelComboKeyWindow.h"
#include "ButtonsLog.h"

#include "ButtonsLayout.h"
#include "KelLabel.h"

#include <QDebug>
#include <QLabel>

using namespace ButtonsLayout;

KelComboKeyWindow::KelComboKeyWindow(QWidget *parent) : KelKeyDialog(parent) {
    setObjectName(QStringLiteral("comboKeyWindow"));
    setTitle(tr("Combo Key"));
    const KelLabel *hint = addHint(tr("HOLD THE MODIFIERS, THEN PRESS THE KEY"));
    m_comboLabel = addKeyBox(kKeyBox);
    // A screen reader says the keys, then what to do.
    m_comboLabel->setAccessibleDescription(hint->text());
}

void KelComboKeyWindow::preset(const ButtonInfo &button) {
    m_combo.preset(button);
    m_comboLabel->setText(m_combo.text());
}

QString KelComboKeyWindow::comboText() const {
    return m_comboLabel->text();
}

void KelComboKeyWindow::keyCaptured(int code, unsigned flags) {
    qCDebug(lcButtons, "KelComboKeyWindow dwVCode = %x dwFlag = %x", unsigned(code), flags);
    m_combo.keyEvent(code, flags);
    m_comboLabel->setText(m_combo.text());
}
