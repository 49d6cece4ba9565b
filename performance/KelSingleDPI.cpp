// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelSingleDPI.h"

#include "InterfaceColour.h"
#include "KelCheckBox.h"
#include "KelLabel.h"
#include "KelStageButton.h"
#include "KelTwoBarSlider.h"
#include "PerformanceLayout.h"
#include "ProfileData.h"
#include "Scale.h"

#include <QMouseEvent>
#include <QPainter>

using namespace PerformanceLayout;

namespace {
// Through the palette: cheap enough to set at every load.
void setTextColour(QWidget *w, const QColor &colour) {
    if (w->palette().color(QPalette::WindowText) == colour)
        return;
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colour);
    w->setPalette(palette);
}

KelLabel *rowLabel(QWidget *parent, int pixels, Qt::Alignment alignment) {
    auto *label = new KelLabel(parent);
    label->setDesignPixelSize(pixels);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}
} // namespace

KelSingleDPI::KelSingleDPI(quint8 stage, QWidget *parent) : QWidget(parent), m_stage(stage) {
    setObjectName(QStringLiteral("dpiRow%1").arg(stage));
    m_linkBox = new KelCheckBox(QString(), this);
    m_linkBox->setDesignPixelSize(kRowSmallPixels);
    m_enableBox = new KelCheckBox(QString(), this);
    m_slider = new KelTwoBarSlider(this);
    m_xLabel = rowLabel(this, kRowSmallPixels, Qt::AlignLeft);
    m_yLabel = rowLabel(this, kRowSmallPixels, Qt::AlignLeft);
    m_dpiLabel = rowLabel(this, kRowPixels, Qt::AlignLeft);
    m_dpiLabel->setBold(true);
    m_minLabel = rowLabel(this, kRangePixels, Qt::AlignRight);
    m_maxLabel = rowLabel(this, kRangePixels, Qt::AlignLeft);
    m_stageButton = new KelStageButton(stage + 1, this);
    setTextColour(m_minLabel, QColor(130, 136, 144));
    setTextColour(m_maxLabel, QColor(130, 136, 144));

    connect(m_slider, &KelTwoBarSlider::valuesMoved, this, &KelSingleDPI::onSliderChanged);
    connect(m_linkBox, &QCheckBox::stateChanged, this, &KelSingleDPI::onStateChanged);
    connect(m_enableBox, &QCheckBox::stateChanged, this, &KelSingleDPI::onStateChanged);
    retranslateUi();
    setUsed(0);
    showRange();
    showValues();
}

void KelSingleDPI::setSensor(int sensorCode, const DpiRange &range) {
    m_sensorCode = sensorCode;
    if (range.known) {
        m_slider->setRange(range.minimum, range.maximum);
        m_linkBox->setVisible(range.showLink);
        m_linkShown = range.showLink;
    }
    // Where X and Y cannot be set apart, a stage stored unlinked is moved as one all the same.
    m_slider->setLinked(m_link != 0 || !m_linkShown);
    showRange();
    showValues();
}

void KelSingleDPI::setLink(quint8 link) {
    m_link = link;
    const QSignalBlocker blocker(m_linkBox);
    m_linkBox->setChecked(link != 0);
    m_slider->setLinked(link != 0 || !m_linkShown);
    showValues();
}

void KelSingleDPI::setUsed(quint8 used) {
    m_used = used;
    const QSignalBlocker blocker(m_enableBox);
    m_enableBox->setChecked(used != 0);
    // A skipped stage reads dimmer.
    const QColor text = used != 0 ? QColor(235, 238, 242) : QColor(120, 124, 130);
    for (KelLabel *label : {m_dpiLabel, m_xLabel, m_yLabel})
        setTextColour(label, text);
}

void KelSingleDPI::setValues(int x, int y) {
    m_x = x;
    m_y = y;
    m_slider->setValues(x, y);
    showValues();
}

void KelSingleDPI::setActive(bool active) {
    m_active = active;
    update();
}

void KelSingleDPI::showValues() {
    m_xLabel->setText(QStringLiteral("X:%1").arg(stageToDpi(m_x, m_sensorCode)));
    m_yLabel->setText(QStringLiteral("Y:%1").arg(stageToDpi(m_y, m_sensorCode)));
    m_dpiLabel->setText(QStringLiteral("DPI : %1").arg(stageToDpi(m_y, m_sensorCode)));
    // What a screen reader tells of the painted slider: the values, and for X and Y apart how
    // the keys reach Y.
    const QString values = m_slider->isLinked()
                               ? tr("X %1 DPI, Y %2 DPI")
                               : tr("X %1 DPI, Y %2 DPI; Shift with the arrow keys moves Y");
    m_slider->setAccessibleDescription(
        values.arg(stageToDpi(m_x, m_sensorCode)).arg(stageToDpi(m_y, m_sensorCode)));
}

void KelSingleDPI::showRange() {
    m_minLabel->setText(QString::number(stageToDpi(m_slider->minimum(), m_sensorCode)));
    m_maxLabel->setText(QString::number(stageToDpi(m_slider->maximum(), m_sensorCode)));
}

QString KelSingleDPI::dpiText() const {
    return m_dpiLabel->text();
}
QString KelSingleDPI::xText() const {
    return m_xLabel->text();
}
QString KelSingleDPI::yText() const {
    return m_yLabel->text();
}
QString KelSingleDPI::minimumText() const {
    return m_minLabel->text();
}
QString KelSingleDPI::maximumText() const {
    return m_maxLabel->text();
}

void KelSingleDPI::relayout(int designHeight) {
    m_designHeight = designHeight;
    const int h = designHeight;
    const int buttonH = qMin(kStageButton.height(), h - 4);
    m_stageButton->setGeometry(
        scaledRect(kStageButton.x(), (h - buttonH) / 2, kStageButton.width(), buttonH));
    m_enableBox->setGeometry(scaledRect(kEnableBox.x(), (h - kEnableBox.height()) / 2,
                                        kEnableBox.width(), kEnableBox.height()));
    // Upper line for the readings, lower line for the slider.
    const int upperY = 1, upperH = h / 2 - 1;
    const int lowerY = h / 2, lowerH = h - h / 2 - 1;
    m_dpiLabel->setGeometry(scaledRect(kDpiLabelX, upperY, kDpiLabelW, upperH));
    m_xLabel->setGeometry(scaledRect(kXLabelX, upperY, kXLabelW, upperH));
    m_yLabel->setGeometry(scaledRect(kYLabelX, upperY, kYLabelW, upperH));
    m_linkBox->setGeometry(scaledRect(kLinkX, upperY, kLinkW, upperH));
    m_minLabel->setGeometry(scaledRect(kMinLabelX, lowerY, kMinLabelW, lowerH));
    m_slider->setGeometry(scaledRect(kSliderX, lowerY, kSliderW, lowerH));
    m_maxLabel->setGeometry(scaledRect(kMaxLabelX, lowerY, kMaxLabelW, lowerH));
    for (KelCheckBox *box : {m_linkBox, m_enableBox})
        box->refreshStyle();
}

void KelSingleDPI::retranslateUi() {
    m_linkBox->setText(tr("Link XY"));
    // The stage button's checked state tells whether the stage is the active one.
    const int number = m_stage + 1;
    m_stageButton->setAccessibleName(tr("DPI stage %1").arg(number));
    m_enableBox->setAccessibleName(tr("Use DPI stage %1").arg(number));
    m_slider->setAccessibleName(tr("DPI stage %1, X and Y").arg(number));
    showValues();
}

void KelSingleDPI::onStateChanged(int state) {
    const quint8 on = state == Qt::Checked ? 1 : 0;
    if (sender() == m_linkBox) {
        m_link = on;
        m_slider->setLinked(on != 0);
        emit LinkSignal(m_link, m_stage);
        // Linked again, Y takes X's value at once: a stage stored as linked has one value.
        if (on != 0 && m_y != m_x) {
            m_y = m_x;
            m_slider->setValues(m_x, m_y);
            emit DPISignal(m_x, m_y, m_stage);
        }
        showValues();
    } else if (sender() == m_enableBox) {
        setUsed(on);
        emit EnableSignal(m_used, m_stage);
    }
}

void KelSingleDPI::onSliderChanged(int x, int y) {
    m_x = x;
    m_y = y;
    showValues();
    emit DPISignal(x, y, m_stage);
}

void KelSingleDPI::mousePressEvent(QMouseEvent *event) {
    emit MouseinSignal(m_stage);
    QWidget::mousePressEvent(event);
}

void KelSingleDPI::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = scaled(6);
    if (m_active) {
        QColor fill = interfaceColour();
        fill.setAlpha(28);
        painter.setBrush(fill);
        painter.setPen(QPen(interfaceColour(), 1));
    } else {
        painter.setBrush(QColor(255, 255, 255, 10));
        painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
    }
    painter.drawRoundedRect(area, radius, radius);
}
