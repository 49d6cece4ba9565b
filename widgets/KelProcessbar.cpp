// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelProcessbar.h"

#include "LanguageFont.h"

#include <QPainter>

namespace {
constexpr int kCaptionPixels = 16;
constexpr int kMinCaptionPixels = 6;
constexpr int kCaptionMargin = 2;
} // namespace

QFont KelProcessbar::captionFont(const QString &caption, int width) {
    // The caption is made smaller until it fits the bar, with a little room at the sides.
    QFont font = languageFont(kCaptionPixels, true);
    const int room = width - 2 * kCaptionMargin;
    while (font.pixelSize() > kMinCaptionPixels &&
           QFontMetrics(font).horizontalAdvance(caption) > room)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

KelProcessbar::KelProcessbar(QWidget *parent) : QProgressBar(parent) {}

void KelProcessbar::setCaption(const QString &caption) {
    m_caption = caption;
    m_hasCaption = true;
    // Painted only: a screen reader is told it beside the value.
    setAccessibleDescription(caption);
    update();
}

void KelProcessbar::clearCaption() {
    m_caption.clear();
    m_hasCaption = false;
    setAccessibleDescription(QString());
    update();
}

QString KelProcessbar::text() const {
    return m_hasCaption ? QString() : QProgressBar::text();
}

void KelProcessbar::paintEvent(QPaintEvent *event) {
    QProgressBar::paintEvent(event);
    if (!m_hasCaption || m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(captionFont(m_caption, width()));
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, m_caption);
}
