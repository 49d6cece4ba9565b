// SPDX-License-Identifier: GPL-3.0-or-later
#include "OsdWindow.h"

#include "Scale.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {
constexpr int kFadeTime = 250;     // at most; never more than a quarter of the time
constexpr int kMinTextHeight = 12; // like the text height, at 96 DPI
constexpr qreal kPaddingX = 0.55;  // of the text height
constexpr qreal kPaddingY = 0.22;
constexpr qreal kRadius = 0.28;        // of the plate height
constexpr qreal kLiftFromBottom = 0.1; // of the screen height
constexpr qreal kEdgeWidth = 1.5;      // at 96 DPI, drawn 1 pixel inside the window
} // namespace

OsdWindow::OsdWindow(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);

    m_hold.setSingleShot(true);
    connect(&m_hold, &QTimer::timeout, &m_fade, [this] { m_fade.start(); });
    m_fade.setStartValue(1.0);
    m_fade.setEndValue(0.0);
    m_fade.setEasingCurve(QEasingCurve::InQuad);
    connect(&m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_opacity = value.toReal();
        update();
    });
    connect(&m_fade, &QVariantAnimation::finished, this, &QWidget::hide);
}

int OsdWindow::boundedTime(quint32 displayTime) {
    return displayTime == 0 ? kDefaultTime : int(qBound<quint32>(kMinTime, displayTime, kMaxTime));
}

void OsdWindow::showMessage(const OsdMessage &message) {
    m_hold.stop();
    m_fade.stop();
    m_opacity = 1.0;

    m_text = message.text;
    if (m_text.trimmed().isEmpty()) {
        // Nothing to say (an unknown report rate, say): no empty plate.
        hide();
        return;
    }
    m_colour = message.colour.isValid() ? message.colour : QColor(Qt::white);
    m_displayTime = boundedTime(message.displayTime);
    m_font = QFont(message.fontFace.isEmpty() ? QStringLiteral("Arial") : message.fontFace);
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setWeight(QFont::DemiBold);
    m_textHeight = message.textHeight == 0 ? kDefaultTextHeight
                                           : qBound(kMinTextHeight, int(message.textHeight), 1000);

    layOut();
    const int fade = qMin(kFadeTime, m_displayTime / 4);
    m_fade.setDuration(fade);
    m_hold.start(m_displayTime - fade);
    show();
    raise();
    update();
}

void OsdWindow::layOut() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    // The text height is given at 96 DPI: the plate grows by the main window's scale step
    // for the screen's logical DPI. A scale Qt applies itself (QT_SCALE_FACTOR, a device
    // pixel ratio) is already in the screen's pixels.
    m_factor = scaleFactorForStep(scaleStepForDpi(screen ? screen->logicalDotsPerInch() : 96.0));

    // The plate is laid out at 96 DPI and then scaled, so that it grows by the factor exactly
    // (a font's line height does not). Never taller than a sixth of the screen, never wider
    // than nine tenths of it.
    QFont design = m_font;
    design.setPixelSize(
        qMin(m_textHeight, qMax(kMinTextHeight, int(area.height() / m_factor / 6))));
    const QFontMetricsF metrics(design);
    const qreal padX = design.pixelSize() * kPaddingX;
    const qreal padY = design.pixelSize() * kPaddingY;
    const qreal maxText = qMax(1.0, area.width() / m_factor * 0.9 - 2 * padX);
    m_shownText = metrics.elidedText(m_text, Qt::ElideRight, maxText);
    m_font.setPixelSize(scaled(design.pixelSize(), m_factor));

    const QSize size(scaled(metrics.horizontalAdvance(m_shownText) + 2 * padX, m_factor),
                     scaled(metrics.height() + 2 * padY, m_factor));
    const int x = area.center().x() - size.width() / 2 + 1;
    const int y = area.bottom() + 1 - size.height() - qRound(area.height() * kLiftFromBottom);
    setGeometry(QRect(QPoint(x, y), size));

    // Without a compositor the translucent corners would show black: the window takes
    // the shape of its plate.
    QPainterPath shape;
    const qreal radius = (size.height() - 2 * m_factor) * kRadius;
    shape.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), radius, radius);
    setMask(QRegion(shape.toFillPolygon().toPolygon()));
}

void OsdWindow::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.setOpacity(m_opacity);

    const QRectF plate = QRectF(rect()).adjusted(m_factor, m_factor, -m_factor, -m_factor);
    const qreal radius = plate.height() * kRadius;
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, QColor(34, 36, 44, 225));
    fill.setColorAt(1.0, QColor(12, 13, 17, 225));
    QColor edge = m_colour;
    edge.setAlpha(120);
    p.setPen(QPen(edge, kEdgeWidth * m_factor));
    p.setBrush(fill);
    p.drawRoundedRect(plate, radius, radius);

    // A soft shadow under the text keeps it readable over a bright game.
    p.setFont(m_font);
    p.setPen(QColor(0, 0, 0, 170));
    const int drop = qMax(1, m_font.pixelSize() / 24);
    p.drawText(rect().translated(drop, drop), Qt::AlignCenter, m_shownText);
    p.setPen(m_colour);
    p.drawText(rect(), Qt::AlignCenter, m_shownText);
}
