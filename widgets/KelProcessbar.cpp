#include "KelProcessbar.h"

#include "LanguageFont.h"

#include <QPainter>

namespace {
constexpr int kCaptionPixels = 16;
}

KelProcessbar::KelProcessbar(QWidget *parent) : QProgressBar(parent) {}

void KelProcessbar::setCaption(const QString &caption) {
    m_caption = caption;
    m_hasCaption = true;
    update();
}

void KelProcessbar::clearCaption() {
    m_caption.clear();
    m_hasCaption = false;
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
    painter.setFont(languageFont(kCaptionPixels, true));
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, m_caption);
}
