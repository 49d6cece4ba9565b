// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelLineEdit.h"

#include "LanguageFont.h"

KelLineEdit::KelLineEdit(QWidget *parent) : QLineEdit(parent) {
    refreshFont();
}

void KelLineEdit::setDesignPixelSize(int pixels) {
    m_designPixels = pixels;
    refreshFont();
}

void KelLineEdit::refreshFont() {
    setFont(m_designPixels > 0 ? languageFont(m_designPixels) : languageFont());
}

void KelLineEdit::paintEvent(QPaintEvent *event) {
    refreshFont();
    QLineEdit::paintEvent(event);
}
