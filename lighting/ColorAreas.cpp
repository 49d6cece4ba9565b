// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorAreas.h"
#include "FocusMark.h"
#include "LightingLog.h"
#include "Scale.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

Q_LOGGING_CATEGORY(lcLighting, "mousecfg.lighting", QtInfoMsg)

namespace {
constexpr int kHueTurn = 360;
constexpr int kComponentMax = 255;
constexpr int kMarkerPixels = 12; // at scale 1
const QColor kEdge(110, 116, 124);

// The value 0..top that pixel `pixel` of a row of `pixels` stands for: the first pixel is 0
// and the last one top, at every size on the screen; a point beyond the row takes its end.
int valueAtPixel(int pixel, int pixels, int top) {
    if (pixels <= 1)
        return top;
    return qRound(qBound(0, pixel, pixels - 1) * double(top) / (pixels - 1));
}

// Where value lies along a row of pixels: the middle of the pixel that stands for it.
double pixelOfValue(int value, int pixels, int top) {
    return value * double(qMax(0, pixels - 1)) / top + 0.5;
}

// A filled colour with a thin edge, so that black still shows on the dark panels.
void paintSwatch(QWidget *widget, const QColor &colour) {
    QPainter painter(widget);
    painter.fillRect(widget->rect(), colour.isValid() ? colour : QColor(Qt::black));
    painter.setPen(kEdge);
    painter.drawRect(widget->rect().adjusted(0, 0, -1, -1));
}
} // namespace

QColor colourFromHsv(int hue, int saturation, int value) {
    const int h = ((hue % kHueTurn) + kHueTurn) % kHueTurn;
    return QColor::fromHsv(h, qBound(0, saturation, kComponentMax), qBound(0, value, kComponentMax))
        .toRgb();
}

// ---------------------------------------------------------------- picking

PickColorArea::PickColorArea(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    trackFocusMarks();
}

void PickColorArea::keyPressEvent(QKeyEvent *event) {
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    constexpr int kFar = 1000; // past either end of any area
    switch (event->key()) {
    case Qt::Key_Left:
        stepBy(-step, 0);
        break;
    case Qt::Key_Right:
        stepBy(step, 0);
        break;
    case Qt::Key_Up:
        stepBy(0, step);
        break;
    case Qt::Key_Down:
        stepBy(0, -step);
        break;
    case Qt::Key_PageUp:
        stepBy(0, 10);
        break;
    case Qt::Key_PageDown:
        stepBy(0, -10);
        break;
    case Qt::Key_Home:
        stepBy(0, -kFar);
        break;
    case Qt::Key_End:
        stepBy(0, kFar);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PickColorArea::keyReleaseEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!event->isAutoRepeat())
            emit mouseReleaseSignal();
        break;
    default:
        QWidget::keyReleaseEvent(event);
    }
}

void PickColorArea::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        pickAt(event->pos());
}

void PickColorArea::mouseMoveEvent(QMouseEvent *event) {
    if (event->buttons() & Qt::LeftButton)
        pickAt(event->pos());
}

void PickColorArea::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit mouseReleaseSignal();
}

// ---------------------------------------------------------------- hue bar

HColorArea::HColorArea(QWidget *parent) : PickColorArea(parent) {
    setCursor(Qt::PointingHandCursor);
}

void HColorArea::setHue(int hue) {
    hue = qBound(0, hue, kHueTurn);
    // 0 and 360 are the same red: a marker at either end stays where it is.
    if (hue % kHueTurn == m_hue % kHueTurn)
        return;
    m_hue = hue;
    update();
}

int HColorArea::stripWidth() const {
    return width() * 2 / 3;
}

void HColorArea::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const int h = height();
    // Hue 0 in the bottom row, a full turn in the top one.
    QLinearGradient gradient(0, h - 0.5, 0, 0.5);
    for (int i = 0; i < 16; ++i)
        gradient.setColorAt(i / 16.0, colourFromHsv(kHueTurn * i / 16, 255, 255));
    gradient.setColorAt(1.0, colourFromHsv(0, 255, 255));
    painter.fillRect(QRect(0, 0, stripWidth(), h), gradient);

    const double y = h - pixelOfValue(m_hue, h, kHueTurn);
    const double tip = stripWidth() + 1;
    const double size = width() - tip;
    const QPointF marker[3] = {
        {tip, y}, {tip + size, y - size * 0.6}, {tip + size, y + size * 0.6}};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(235, 238, 242));
    painter.drawPolygon(marker, 3);
    paintFocusMark(painter, this, rect());
}

void HColorArea::pickAt(const QPoint &pos) {
    m_hue = valueAtPixel(height() - 1 - pos.y(), height(), kHueTurn);
    update();
    emit hueChangedSignal(m_hue);
}

void HColorArea::stepBy(int, int dy) {
    m_hue = qBound(0, m_hue + dy, kHueTurn);
    update();
    emit hueChangedSignal(m_hue);
}

// ---------------------------------------------------------------- saturation/value field

SVColorArea::SVColorArea(QWidget *parent) : PickColorArea(parent) {
    setCursor(Qt::CrossCursor);
}

void SVColorArea::setHsv(int hue, int saturation, int value) {
    m_hue = hue;
    m_saturation = qBound(0, saturation, kComponentMax);
    m_value = qBound(0, value, kComponentMax);
    update();
}

void SVColorArea::hueChangedSlot(int hue) {
    m_hue = hue;
    update();
    emit svChangedSignal(m_hue, m_saturation, m_value);
}

void SVColorArea::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, colourFromHsv(m_hue, 255, 255));
    // The colour in the middle of each pixel is the one a click there picks.
    QLinearGradient toSaturated(0.5, 0, r.width() - 0.5, 0);
    toSaturated.setColorAt(0, QColor(255, 255, 255, 255));
    toSaturated.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(r, toSaturated);
    QLinearGradient toDark(0, 0.5, 0, r.height() - 0.5);
    toDark.setColorAt(0, QColor(0, 0, 0, 0));
    toDark.setColorAt(1, QColor(0, 0, 0, 255));
    painter.fillRect(r, toDark);

    const QPointF point(pixelOfValue(m_saturation, r.width(), kComponentMax),
                        r.height() - pixelOfValue(m_value, r.height(), kComponentMax));
    painter.setRenderHint(QPainter::Antialiasing);
    const double factor = scaleFactor();
    painter.setPen(QPen(m_value >= 128 ? Qt::black : Qt::white, 1.5 * factor));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(point, kMarkerPixels / 2.0 * factor, kMarkerPixels / 2.0 * factor);
    paintFocusMark(painter, this, r);
}

void SVColorArea::stepBy(int dx, int dy) {
    m_saturation = qBound(0, m_saturation + dx, kComponentMax);
    m_value = qBound(0, m_value + dy, kComponentMax);
    update();
    emit svChangedSignal(m_hue, m_saturation, m_value);
}

void SVColorArea::pickAt(const QPoint &pos) {
    m_saturation = valueAtPixel(pos.x(), width(), kComponentMax);
    m_value = valueAtPixel(height() - 1 - pos.y(), height(), kComponentMax);
    update();
    qCDebug(lcLighting, "SVColorArea picked %d %d", m_saturation, m_value);
    emit svChangedSignal(m_hue, m_saturation, m_value);
}

// ---------------------------------------------------------------- preview and swatch

PreviewColorArea::PreviewColorArea(QWidget *parent) : QWidget(parent) {}

void PreviewColorArea::setColor(const QColor &colour) {
    m_colour = colour;
    setAccessibleDescription(colour.name());
    update();
}

void PreviewColorArea::svChangedSlot(int hue, int saturation, int value) {
    setColor(colourFromHsv(hue, saturation, value));
}

void PreviewColorArea::paintEvent(QPaintEvent *) {
    paintSwatch(this, m_colour);
}

DefaultColorArea::DefaultColorArea(QWidget *parent) : DefaultColorArea(QColor(), parent) {}

DefaultColorArea::DefaultColorArea(const QColor &colour, QWidget *parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setColor(colour);
    setFocusPolicy(Qt::StrongFocus);
    trackFocusMarks();
}

// A screen reader tells the colour as "#rrggbb" after the swatch's name.
void DefaultColorArea::setColor(const QColor &colour) {
    m_colour = colour;
    setAccessibleDescription(colour.isValid() ? colour.name() : QString());
    update();
}

void DefaultColorArea::paintEvent(QPaintEvent *) {
    paintSwatch(this, m_colour);
    paintFocusMark(this);
}

void DefaultColorArea::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        emit ClickedSignal();
}

void DefaultColorArea::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    qCDebug(lcLighting, "DefaultColorArea mousePressEvent");
    emit ClickedSignal();
}
