#include "KelComboKeyWindow.h"

#include "ButtonsLayout.h"
#include "KelLabel.h"

#include <QDebug>

using namespace ButtonsLayout;

KelComboKeyWindow::KelComboKeyWindow(QWidget *parent)
    : KelKeyDialog(kKeyDialogW, kKeyDialogH, parent) {
    setObjectName(QStringLiteral("comboKeyWindow"));
    setTitle(tr("Combo Key"));
    KelLabel *hint = addLabel(kKeyHint);
    hint->setAlignment(Qt::AlignCenter);
    hint->setText(tr("HOLD THE MODIFIERS, THEN PRESS THE KEY"));
    m_comboLabel = addKeyBox(kKeyBox);
    m_comboLabel->setFocus();
}

void KelComboKeyWindow::preset(const ButtonInfo &button) {
    m_combo.preset(button);
    m_comboLabel->setText(m_combo.text());
}

QString KelComboKeyWindow::comboText() const {
    return m_comboLabel->text();
}

void KelComboKeyWindow::keyCaptured(int code, unsigned flags) {
    qDebug("KelComboKeyWindow dwVCode = %x dwFlag = %x", unsigned(code), flags);
    m_combo.keyEvent(code, flags);
    m_comboLabel->setText(m_combo.text());
    emit SetComboKeyValue(m_combo.keys());
}
