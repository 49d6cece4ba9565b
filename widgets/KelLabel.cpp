// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelLabel.h"

#include "LanguageFont.h"

KelLabel::KelLabel(QWidget *parent) : QLabel(parent) {
    refreshFont();
}

KelLabel::KelLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {
    refreshFont();
}

void KelLabel::setDesignPixelSize(int pixels) {
    m_designPixels = pixels;
    refreshFont();
}

void KelLabel::setBold(bool bold) {
    m_bold = bold;
    refreshFont();
}

// setFont() with the font already set does nothing, so this is cheap while nothing changed.
void KelLabel::refreshFont() {
    QFont font = m_designPixels > 0 ? languageFont(m_designPixels, m_bold) : languageFont();
    font.setBold(m_bold);
    setFont(font);
}

void KelLabel::paintEvent(QPaintEvent *event) {
    refreshFont();
    QLabel::paintEvent(event);
}
