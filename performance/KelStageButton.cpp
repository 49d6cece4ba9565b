// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelStageButton.h"

#include "AccessibleRole.h"
#include "AppDir.h"
#include "FocusMark.h"
#include "LanguageFont.h"
#include "Scale.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPainter>

KelStageButton::KelStageButton(int number, QWidget *parent)
    : QAbstractButton(parent), m_on(AppDir::path() + QStringLiteral("/skin/DPI-ON.png")),
      m_off(AppDir::path() + QStringLiteral("/skin/DPI-OFF.png")) {
    setCheckable(true);
    // One stage out of the row: a screen reader says so.
    setAccessibleRole(this, QAccessible::RadioButton);
    trackFocusMarks();
    setCursor(Qt::PointingHandCursor);
    setText(QString::number(number));
}

QSize KelStageButton::sizeHint() const {
    return scaledSize(26, 22);
}

void KelStageButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap &picture = isChecked() ? m_on : m_off;
    if (!picture.isNull()) {
        painter.drawPixmap(rect(), picture);
    } else {
        // Without the skin the state still shows.
        painter.setPen(QColor(110, 116, 124));
        painter.setBrush(isChecked() ? QColor(0, 190, 255) : QColor(30, 30, 30));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
    painter.setFont(languageFont(11, true));
    painter.setPen(isChecked() ? QColor(10, 12, 14) : QColor(200, 200, 200));
    painter.drawText(rect(), Qt::AlignCenter, text());
    paintFocusMark(painter, this, rect());
}

// Space is the button's own key; Enter does the same, as on the window's other buttons. The
// arrows only move the focus: Qt's walk through an exclusive group would click every button
// on the way, and it goes by position, which a stage hidden with its row still has.
void KelStageButton::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (!event->isAutoRepeat())
            click();
        return;
    case Qt::Key_Up:
    case Qt::Key_Left:
        focusStage(-1);
        event->accept();
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        focusStage(1);
        event->accept();
        return;
    default:
        QAbstractButton::keyPressEvent(event);
    }
}

void KelStageButton::focusStage(int step) {
    const QButtonGroup *stages = group();
    if (!stages)
        return;
    for (int id = stages->id(this) + step; QAbstractButton *stage = stages->button(id);
         id += step) {
        if (stage->isVisibleTo(window()) && stage->isEnabled()) {
            stage->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}
