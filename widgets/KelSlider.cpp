// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelSlider.h"

#include "FocusMark.h"
#include "InterfaceColour.h"
#include "Scale.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

KelSlider::KelSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent) {
    // Tab and a click give it the keys; the wheel moves it without taking them.
    setFocusPolicy(Qt::StrongFocus);
    trackFocusMarks();
    refreshStyle();
}

QString KelSlider::sliderStyleSheet(const QColor &accent, double factor) {
    const int groove = qMax(2, scaled(4, factor));
    // The handle as wide as high: the groove and the same margin on either side.
    const int margin = (qMax(8, scaled(14, factor)) - groove) / 2;
    const int handle = groove + 2 * margin;
    return QStringLiteral("QSlider{background:transparent;}"
                          "QSlider::groove:horizontal{height:%1px;background:rgb(60,64,70);"
                          "border-radius:%2px;}"
                          "QSlider::sub-page:horizontal{background:rgb(%4,%5,%6);"
                          "border-radius:%2px;}"
                          "QSlider::add-page:horizontal{background:rgb(60,64,70);"
                          "border-radius:%2px;}"
                          "QSlider::handle:horizontal{width:%3px;height:%3px;margin:-%7px 0;"
                          "border-radius:%8px;background:rgb(235,238,242);"
                          "border:%9px solid rgb(%4,%5,%6);}"
                          "QSlider::sub-page:horizontal:disabled{background:rgb(90,90,90);}"
                          "QSlider::handle:horizontal:disabled{border-color:rgb(90,90,90);}"
                          "QSlider{outline:0px;}")
        .arg(groove)
        .arg(groove / 2)
        .arg(handle)
        .arg(accent.red())
        .arg(accent.green())
        .arg(accent.blue())
        .arg(margin)
        .arg(handle / 2)
        .arg(qMax(1, scaled(2, factor)));
}

void KelSlider::refreshStyle() {
    const QString sheet = sliderStyleSheet(interfaceColour(), scaleFactor());
    if (styleSheet() != sheet)
        setStyleSheet(sheet);
}

int KelSlider::valueAt(const QPoint &pos) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    // The point under the handle's centre as the style reads it.
    const int x = pos.x() - groove.x() - (handle.center().x() - handle.x());
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x, qMax(1, span),
                                           option.upsideDown);
}

void KelSlider::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        if (!handle.contains(event->pos())) {
            // Jump to the click, then let the handle be dragged from there: the slider is
            // pressed where the handle now is, so that it follows the pointer (and takes no
            // page step on top of the jump).
            setValue(valueAt(event->pos()));
            emit sliderClicked(value());
            initStyleOption(&option);
            const QRect moved =
                style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
            QMouseEvent onHandle(event->type(), QPointF(moved.center()), event->windowPos(),
                                 event->screenPos(), event->button(), event->buttons(),
                                 event->modifiers());
            QSlider::mousePressEvent(&onHandle);
            event->setAccepted(onHandle.isAccepted());
            return;
        }
    }
    QSlider::mousePressEvent(event);
}

void KelSlider::showEvent(QShowEvent *event) {
    refreshStyle();
    QSlider::showEvent(event);
}

void KelSlider::paintEvent(QPaintEvent *event) {
    QSlider::paintEvent(event);
    paintFocusMark(this);
}
