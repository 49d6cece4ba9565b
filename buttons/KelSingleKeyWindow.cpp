#include "KelSingleKeyWindow.h"

#include "ButtonsLayout.h"
#include "KelLabel.h"
#include "KeyTable.h"

using namespace ButtonsLayout;

KelSingleKeyWindow::KelSingleKeyWindow(QWidget *parent)
    : KelKeyDialog(kKeyDialogW, kKeyDialogH, parent) {
    setObjectName(QStringLiteral("singleKeyWindow"));
    setTitle(tr("Single Key"));
    KelLabel *hint = addLabel(kKeyHint);
    hint->setAlignment(Qt::AlignCenter);
    hint->setText(tr("PRESS THE KEY FOR THIS BUTTON"));
    m_keyLabel = addKeyBox(kKeyBox);
    m_keyLabel->setFocus();
}

void KelSingleKeyWindow::preset(int keyCode) {
    m_key = keyCode;
    m_keyLabel->setText(keyName(keyCode));
}

QString KelSingleKeyWindow::keyText() const {
    return m_keyLabel->text();
}

void KelSingleKeyWindow::keyCaptured(int code, unsigned) {
    preset(code);
    emit SetSingleKeyValue(quint8(code));
}
