// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelTwoBarSlider.h"

#include "FocusMark.h"
#include "InterfaceColour.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

class KelTwoBarSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit KelTwoBarSliderAccessible(KelTwoBarSlider *slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    void *interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return slider()->xValue(); }
    // Set by a screen reader as by the user's keys: X (both, when linked), told as a move.
    void setCurrentValue(const QVariant &value) override {
        slider()->moveHandle(KelTwoBarSlider::HandleX, value.toInt());
    }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    KelTwoBarSlider *slider() const { return static_cast<KelTwoBarSlider *>(widget()); }
};

namespace {
QAccessibleInterface *twoBarAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String("KelTwoBarSlider") && object && object->isWidgetType())
        return new KelTwoBarSliderAccessible(static_cast<KelTwoBarSlider *>(object));
    return nullptr;
}
} // namespace

KelTwoBarSlider::KelTwoBarSlider(QWidget *parent) : QWidget(parent) {
    static const bool accessible = [] {
        QAccessible::installFactory(twoBarAccessible);
        return true;
    }();
    Q_UNUSED(accessible)
    setFocusPolicy(Qt::StrongFocus);
    trackFocusMarks();
    setCursor(Qt::PointingHandCursor);
}

void KelTwoBarSlider::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    update();
}

void KelTwoBarSlider::setValues(int x, int y) {
    m_x = x;
    m_y = y;
    update();
}

void KelTwoBarSlider::setLinked(bool linked) {
    m_linked = linked;
    update();
}

// Each handle is a triangle as wide as the widget is high, half the height tall.
int KelTwoBarSlider::handleWidth() const {
    return qMax(6, height() * 2 / 3);
}

int KelTwoBarSlider::valueAt(int px) const {
    const int half = handleWidth() / 2;
    const int span = qMax(1, width() - 2 * half);
    const double t = qBound(0.0, double(px - half) / span, 1.0);
    return m_minimum + int(t * (m_maximum - m_minimum) + 0.5);
}

int KelTwoBarSlider::positionOf(int value) const {
    const int half = handleWidth() / 2;
    const int span = qMax(1, width() - 2 * half);
    const int range = m_maximum - m_minimum;
    const int v = qBound(m_minimum, value, m_maximum);
    return half + (range > 0 ? int(double(v - m_minimum) * span / range + 0.5) : 0);
}

KelTwoBarSlider::Handle KelTwoBarSlider::handleFor(const QPoint &pos) const {
    if (m_linked)
        return HandleX;
    return pos.y() < height() / 2 ? HandleX : HandleY;
}

void KelTwoBarSlider::moveHandle(Handle handle, int value) {
    value = qBound(m_minimum, value, m_maximum);
    int x = m_x;
    int y = m_y;
    if (m_linked) {
        x = y = value;
    } else if (handle == HandleX) {
        x = value;
    } else {
        y = value;
    }
    if (x == m_x && y == m_y)
        return;
    m_x = x;
    m_y = y;
    update();
    QAccessibleValueChangeEvent moved(this, m_x);
    QAccessible::updateAccessibility(&moved);
    emit valuesMoved(m_x, m_y);
}

void KelTwoBarSlider::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    // A press beside the handle of its half takes the handle to the pointer; a press on the
    // handle only picks it up. The drag goes on from there.
    m_dragging = handleFor(event->pos());
    const int at = positionOf(m_dragging == HandleY ? m_y : m_x);
    if (qAbs(event->pos().x() - at) > handleWidth() / 2)
        moveHandle(m_dragging, valueAt(event->pos().x()));
    event->accept();
}

void KelTwoBarSlider::mouseMoveEvent(QMouseEvent *event) {
    if (m_dragging != NoHandle)
        moveHandle(m_dragging, valueAt(event->pos().x()));
}

void KelTwoBarSlider::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = NoHandle;
}

// The wheel moves one step at a time, for values a drag cannot hit exactly.
void KelTwoBarSlider::wheelEvent(QWheelEvent *event) {
    if (!isEnabled() || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    // A fine wheel or a touchpad sends parts of a notch: a step for each whole one.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / 120;
    m_wheelAngle -= steps * 120;
    if (steps == 0) {
        event->accept();
        return;
    }
    const Handle handle = handleFor(event->position().toPoint());
    const int from = qBound(m_minimum, handle == HandleY ? m_y : m_x, m_maximum);
    moveHandle(handle, from + steps);
    event->accept();
}

bool KelTwoBarSlider::keyTarget(int key, int from, int &to) const {
    const int page = qMax(1, (m_maximum - m_minimum) / 10);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        to = from - 1;
        return true;
    case Qt::Key_Right:
    case Qt::Key_Up:
        to = from + 1;
        return true;
    case Qt::Key_PageDown:
        to = from - page;
        return true;
    case Qt::Key_PageUp:
        to = from + page;
        return true;
    case Qt::Key_Home:
        to = m_minimum;
        return true;
    case Qt::Key_End:
        to = m_maximum;
        return true;
    default:
        return false;
    }
}

void KelTwoBarSlider::keyPressEvent(QKeyEvent *event) {
    const Handle handle = !m_linked && (event->modifiers() & Qt::ShiftModifier) ? HandleY : HandleX;
    const int from = qBound(m_minimum, handle == HandleY ? m_y : m_x, m_maximum);
    int to = from;
    if (!isEnabled() || !keyTarget(event->key(), from, to)) {
        QWidget::keyPressEvent(event);
        return;
    }
    moveHandle(handle, to);
    event->accept();
}

void KelTwoBarSlider::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = isEnabled() ? interfaceColour() : QColor(90, 90, 90);
    const QColor second = isEnabled() ? QColor(235, 238, 242) : QColor(120, 120, 120);
    const int w = handleWidth();
    const int half = w / 2;
    const int mid = height() / 2;
    const int groove = qMax(2, height() / 7);
    const int px = positionOf(m_x);
    const int py = positionOf(m_y);

    // Groove, with the part up to the lower value filled and the stretch between the two
    // values filled faintly.
    const QRectF grooveRect(half, mid - groove / 2.0, width() - 2 * half, groove);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 64, 70));
    painter.drawRoundedRect(grooveRect, groove / 2.0, groove / 2.0);
    painter.setBrush(accent);
    painter.drawRoundedRect(QRectF(half, grooveRect.top(), qMin(px, py) - half, groove),
                            groove / 2.0, groove / 2.0);
    QColor faint = accent;
    faint.setAlpha(110);
    painter.setBrush(faint);
    painter.drawRect(QRectF(qMin(px, py), grooveRect.top(), qAbs(px - py), groove));

    // X points down onto the groove from above, Y up from below.
    const double tall = qMax(3.0, mid - groove / 2.0 - 1);
    const auto triangle = [&](int at, bool above) {
        QPainterPath path;
        const double tip = above ? grooveRect.top() : grooveRect.bottom();
        const double base = above ? tip - tall : tip + tall;
        path.moveTo(at, tip);
        path.lineTo(at - half, base);
        path.lineTo(at + half, base);
        path.closeSubpath();
        return path;
    };
    painter.setPen(QPen(QColor(20, 22, 25), 1));
    painter.setBrush(accent);
    painter.drawPath(triangle(px, true));
    painter.setBrush(m_linked ? accent : second);
    painter.drawPath(triangle(py, false));
    paintFocusMark(painter, this, rect());
}
