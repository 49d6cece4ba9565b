#include "FocusMark.h"

#include "InterfaceColour.h"
#include "Scale.h"

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

// Lets the widget paint first, then paints the mark over it.
class MarkPainter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        watched->event(event);
        paintFocusMark(static_cast<QWidget *>(watched));
        return true;
    }
};
} // namespace

void markFocusOf(QWidget *widget) {
    trackFocusMarks();
    widget->installEventFilter(new MarkPainter(widget));
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
    const int width = qMax(1, scaled(2));
    const qreal inset = width / 2.0;
    const qreal radius = qMax(2, scaled(3));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(interfaceColour(), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(area).adjusted(inset, inset, -inset, -inset), radius, radius);
    painter.restore();
}

void paintFocusMark(QWidget *widget) {
    if (!showsFocusMark(widget))
        return;
    QPainter painter(widget);
    paintFocusMark(painter, widget, widget->rect());
}
