// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelSingleKeyWindow.h"

#include "ButtonsLayout.h"
#include "KeyTable.h"

#include <QLabel>

using namespace ButtonsLayout;

KelSingleKeyWindow::KelSingleKeyWindow(QWidget *parent) : KelKeyDialog(parent) {
    setObjectName(QStringLiteral("singleKeyWindow"));
    setTitle(tr("Single Key"));
    addHint(tr("PRESS THE KEY FOR THIS BUTTON"));
    m_keyLabel = addKeyBox(kKeyBox);
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
}
