// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelSingleKeyWindow.h"

#include "ButtonsLayout.h"
#include "KelLabel.h"
#include "KeyTable.h"

#include <QLabel>

using namespace ButtonsLayout;

KelSingleKeyWindow::KelSingleKeyWindow(QWidget *parent) : KelKeyDialog(parent) {
    setObjectName(QStringLiteral("singleKeyWindow"));
    setTitle(tr("Single Key"));
    const KelLabel *hint = addHint(tr("PRESS THE KEY FOR THIS BUTTON"));
    m_keyLabel = addKeyBox(kKeyBox);
    // A screen reader says the key, then what to do.
    m_keyLabel->setAccessibleDescription(hint->text());
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
