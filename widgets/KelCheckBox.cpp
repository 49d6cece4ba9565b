// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelCheckBox.h"

#include "FocusMark.h"
#include "InterfaceColour.h"
#include "LanguageFont.h"
#include "Scale.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>

namespace {
template <typename Box> void refreshBox(Box *box, const QString &widgetClass, int designPixels) {
    const QString sheet = checkStyleSheet(widgetClass, interfaceColour(), scaleFactor());
    if (box->styleSheet() != sheet)
        box->setStyleSheet(sheet);
    box->setFont(designPixels > 0 ? languageFont(designPixels) : languageFont());
}
} // namespace

QString checkStyleSheet(const QString &widgetClass, const QColor &accent, double factor) {
    const int size = qMax(8, scaled(14, factor));
    const bool round = widgetClass == QLatin1String("QRadioButton");
    return QStringLiteral("%1{color:rgb(220,220,220);spacing:%2px;background:transparent;}"
                          "%1:disabled{color:rgb(110,110,110);}"
                          "%1::indicator{width:%3px;height:%3px;border-radius:%4px;"
                          "border:1px solid rgb(110,116,124);background:rgb(30,30,30);}"
                          "%1::indicator:hover{border-color:rgb(%5,%6,%7);}"
                          "%1::indicator:checked{background:rgb(%5,%6,%7);"
                          "border-color:rgb(%5,%6,%7);}"
                          "%1::indicator:checked:disabled{background:rgb(90,90,90);"
                          "border-color:rgb(90,90,90);}")
        .arg(widgetClass)
        .arg(scaled(6, factor))
        .arg(size)
        .arg(round ? size / 2 : qMax(1, scaled(2, factor)))
        .arg(accent.red())
        .arg(accent.green())
        .arg(accent.blue());
}

KelCheckBox::KelCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent) {
    trackFocusMarks();
    refreshStyle();
}

void KelCheckBox::setDesignPixelSize(int pixels) {
    m_designPixels = pixels;
    refreshStyle();
}

void KelCheckBox::refreshStyle() {
    refreshBox(this, QStringLiteral("QCheckBox"), m_designPixels);
}

void KelCheckBox::showEvent(QShowEvent *event) {
    refreshStyle();
    QCheckBox::showEvent(event);
}

void KelCheckBox::paintEvent(QPaintEvent *event) {
    QCheckBox::paintEvent(event);
    if (checkState() == Qt::Checked)
        paintTick();
    paintFocusMark(this);
}

void KelCheckBox::paintTick() {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRectF box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    if (box.isEmpty())
        return;
    // Dark on a light fill, white on a dark one; the fill is the interface colour, or grey
    // while disabled.
    const QColor fill = isEnabled() ? interfaceColour() : QColor(90, 90, 90);
    const QColor tick = fill.lightnessF() > 0.6 ? QColor(30, 30, 30) : Qt::white;
    QPainterPath path;
    path.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
    path.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
    path.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.30);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(
        QPen(tick, qMax(1.5, box.width() / 7.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

KelRadioButton::KelRadioButton(const QString &text, QWidget *parent) : QRadioButton(text, parent) {
    trackFocusMarks();
    refreshStyle();
}

void KelRadioButton::setDesignPixelSize(int pixels) {
    m_designPixels = pixels;
    refreshStyle();
}

void KelRadioButton::refreshStyle() {
    refreshBox(this, QStringLiteral("QRadioButton"), m_designPixels);
}

void KelRadioButton::showEvent(QShowEvent *event) {
    refreshStyle();
    QRadioButton::showEvent(event);
}

void KelRadioButton::paintEvent(QPaintEvent *event) {
    QRadioButton::paintEvent(event);
    paintFocusMark(this);
}
