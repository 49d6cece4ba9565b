// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusMark.h"

#include "InterfaceColour.h"
#include "Scale.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {
// Watches every input event of the program: a key press shows the mark, a click hides it.
class InputWatcher : public QObject {
public:
    bool keyboard = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            show(true);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            show(false);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void show(bool on) {
        if (keyboard == on)
            return;
        keyboard = on;
        if (QWidget *focused = QApplication::focusWidget())
            focused->update();
    }
};

QPointer<InputWatcher> g_watcher;

// Lets the widget paint first, then paints the mark over it: the mark of owner, which is the
// widget itself or the scroll area whose viewport it is.
class MarkPainter : public QObject {
public:
    MarkPainter(QWidget *widget, QWidget *owner, int designInset)
        : QObject(widget), m_owner(owner), m_inset(designInset) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *widget = static_cast<QWidget *>(parent());
        if (watched == m_owner && watched != widget &&
            (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
            widget->update();
        if (watched != widget || event->type() != QEvent::Paint || m_painting)
            return false;
        // Whatever paints the widget paints first: the widget itself, or on a viewport the
        // scroll area, whose own filter comes after this one.
        m_painting = true;
        QCoreApplication::sendEvent(widget, event);
        m_painting = false;
        if (showsFocusMark(m_owner)) {
            QPainter painter(widget);
            const int inset = scaled(m_inset);
            paintFocusMark(painter, m_owner, widget->rect().adjusted(inset, inset, -inset, -inset));
        }
        return true;
    }

private:
    QWidget *m_owner;
    int m_inset;
    bool m_painting = false;
};
} // namespace

void markFocusOf(QWidget *widget, int designInset) {
    trackFocusMarks();
    widget->installEventFilter(new MarkPainter(widget, widget, designInset));
}

void markFocusOf(QAbstractScrollArea *area) {
    trackFocusMarks();
    QWidget *viewport = area->viewport();
    auto *painter = new MarkPainter(viewport, area, 0);
    viewport->installEventFilter(painter);
    area->installEventFilter(painter);
}

void trackFocusMarks() {
    if (g_watcher || !qApp)
        return;
    g_watcher = new InputWatcher;
    g_watcher->setParent(qApp);
    qApp->installEventFilter(g_watcher);
}

bool showsFocusMark(const QWidget *widget) {
    return widget->hasFocus() && g_watcher && g_watcher->keyboard;
}

void paintFocusMark(QPainter &painter, const QWidget *widget, const QRect &area) {
    if (!showsFocusMark(widget))
        return;
    // The ring in the interface colour, and a dark line inside it that keeps it apart from a
    // picture filled with the same colour (a checked box, a lit stage).
    const int width = qMax(1, scaled(2));
    const qreal radius = qMax(2, scaled(3));
    const QRectF ring = QRectF(area).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 22, 25), 1));
    painter.drawRoundedRect(
        ring.adjusted(width / 2.0 + 0.5, width / 2.0 + 0.5, -width / 2.0 - 0.5, -width / 2.0 - 0.5),
        radius, radius);
    painter.setPen(QPen(interfaceColour(), width));
    painter.drawRoundedRect(ring, radius, radius);
    painter.restore();
}

void paintFocusMark(QWidget *widget) {
    if (!showsFocusMark(widget))
        return;
    QPainter painter(widget);
    paintFocusMark(painter, widget, widget->rect());
}
