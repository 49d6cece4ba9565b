// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelColorArea.h"

#include "AppDir.h"
#include "ColorAreas.h"
#include "FocusMark.h"
#include "InterfaceColour.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "LanguageFont.h"
#include "LightingLayout.h"
#include "LightingRules.h"
#include "Scale.h"

#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QToolButton>
#include <utility>

using namespace LightingLayout;

namespace {
QRect place(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height());
}

const QColor kPresets[KelColorArea::kPresetCount] = {
    QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(0, 0, 255),     QColor(0, 255, 255),
    QColor(255, 255, 0), QColor(255, 0, 255), QColor(255, 255, 255),
};

const char *const kFieldStyle = "background:rgb(30,30,30);color:white;"
                                "border:1px solid rgb(80,86,94);border-radius:2px;"
                                "padding:0 %1px;";
} // namespace

KelColorArea::KelColorArea(const QColor &start, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("colorEditor"));
    setFixedSize(scaledSize(kEditorWidth, kEditorHeight));
    setAttribute(Qt::WA_TranslucentBackground);
    m_background = QPixmap(AppDir::path() + QStringLiteral("/skin/dlg.png"));

    m_title = new KelLabel(this);
    m_title->setDesignPixelSize(kHeadingPixels);
    m_title->setBold(true);
    m_title->setStyleSheet(QStringLiteral("color:rgb(220,220,220);"));
    m_title->setGeometry(place(kEditorTitle));

    m_field = new SVColorArea(this);
    m_field->setObjectName(QStringLiteral("svField"));
    m_field->setGeometry(place(kSvField));
    m_hueBar = new HColorArea(this);
    m_hueBar->setObjectName(QStringLiteral("hueBar"));
    m_hueBar->setGeometry(place(kHueBar));
    m_preview = new PreviewColorArea(this);
    m_preview->setGeometry(place(kPreview));

    m_hBox = makeBox(0, 0, 360, QStringLiteral("hBox"));
    m_sBox = makeBox(0, 1, 255, QStringLiteral("sBox"));
    m_vBox = makeBox(0, 2, 255, QStringLiteral("vBox"));
    m_rBox = makeBox(1, 0, 255, QStringLiteral("rBox"));
    m_gBox = makeBox(1, 1, 255, QStringLiteral("gBox"));
    m_bBox = makeBox(1, 2, 255, QStringLiteral("bBox"));
    m_hBox->setPrefix(QStringLiteral("H "));
    m_sBox->setPrefix(QStringLiteral("S "));
    m_vBox->setPrefix(QStringLiteral("V "));
    m_rBox->setPrefix(QStringLiteral("R "));
    m_gBox->setPrefix(QStringLiteral("G "));
    m_bBox->setPrefix(QStringLiteral("B "));

    m_hexEdit = new KelLineEdit(this);
    m_hexEdit->setObjectName(QStringLiteral("hexEdit"));
    m_hexEdit->setDesignPixelSize(kEditorTextPixels);
    m_hexEdit->setMaxLength(6);
    m_hexEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9a-fA-F]{0,6}")), m_hexEdit));
    m_hexEdit->setStyleSheet(QString::fromLatin1(kFieldStyle).arg(scaled(4)));
    m_hexEdit->setGeometry(place(kHexField));

    for (int i = 0; i < kPresetCount; ++i) {
        m_presets[i] = new DefaultColorArea(kPresets[i], this);
        m_presets[i]->setObjectName(QStringLiteral("preset%1").arg(i));
        m_presets[i]->setGeometry(
            place(QRect(kPresetLeft + i * kPresetStep, kPresetTop, kPresetSize, kPresetSize)));
        connect(m_presets[i], &DefaultColorArea::ClickedSignal, this, &KelColorArea::color_clicked);
    }

    const QString buttonStyle = KelMessageBox::buttonStyleSheet(interfaceColour());
    auto makeButton = [&](const QString &name, const QString &icon, const QRect &where) {
        auto *button = new QToolButton(this);
        button->setObjectName(name);
        if (QFile::exists(icon))
            button->setIcon(QIcon(icon));
        button->setIconSize(scaledSize(16, 16));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setFont(languageFont(kEditorTextPixels));
        button->setStyleSheet(buttonStyle);
        button->setCursor(Qt::PointingHandCursor);
        button->setGeometry(place(where));
        markFocusOf(button, KelMessageBox::kFocusInset);
        return button;
    };
    m_acceptBtn =
        makeButton(QStringLiteral("colorYesBtn"), QStringLiteral(":/yes_Btn"), kAcceptButton);
    m_rejectBtn =
        makeButton(QStringLiteral("colorNoBtn"), QStringLiteral(":/no_Btn"), kRejectButton);
    // The buttons take no focus, so a hexadecimal text still being typed is finished here.
    connect(m_acceptBtn, &QToolButton::clicked, this, [this] {
        if (m_hexEdit->isModified())
            editFinishedSlot();
        accept();
    });
    connect(m_rejectBtn, &QToolButton::clicked, this, &QDialog::reject);

    connect(m_hueBar, &HColorArea::hueChangedSignal, m_field, &SVColorArea::hueChangedSlot);
    connect(m_field, &SVColorArea::svChangedSignal, m_preview, &PreviewColorArea::svChangedSlot);
    connect(m_field, &SVColorArea::svChangedSignal, this, &KelColorArea::updateEditData);
    connect(m_hueBar, &HColorArea::mouseReleaseSignal, this, &KelColorArea::MouseReleaseSlot);
    connect(m_field, &SVColorArea::mouseReleaseSignal, this, &KelColorArea::MouseReleaseSlot);
    connect(m_hexEdit, &QLineEdit::textEdited, this, &KelColorArea::editChangedSlot);
    connect(m_hexEdit, &QLineEdit::editingFinished, this, &KelColorArea::editFinishedSlot);
    const auto changed = qOverload<int>(&QSpinBox::valueChanged);
    connect(m_hBox, changed, this, &KelColorArea::hValueChangedSlot);
    connect(m_sBox, changed, this, &KelColorArea::sValueChangedSlot);
    connect(m_vBox, changed, this, &KelColorArea::vValueChangedSlot);
    connect(m_rBox, changed, this, &KelColorArea::rValueChangedSlot);
    connect(m_gBox, changed, this, &KelColorArea::gValueChangedSlot);
    connect(m_bBox, changed, this, &KelColorArea::bValueChangedSlot);

    retranslateUi();
    setColor(start);
    // Typing straight away replaces the hexadecimal text.
    m_hexEdit->setFocus();
    m_hexEdit->selectAll();
}

QSpinBox *KelColorArea::makeBox(int column, int row, int maximum, const QString &objectName) {
    auto *box = new QSpinBox(this);
    box->setObjectName(objectName);
    box->setRange(0, maximum);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setFont(languageFont(kEditorTextPixels));
    box->setStyleSheet(QString::fromLatin1(kFieldStyle).arg(scaled(4)));
    box->setGeometry(place(QRect(column == 0 ? kBoxColumn1 : kBoxColumn2, kBoxTop + row * kBoxStep,
                                 kBoxWidth, kBoxHeight)));
    return box;
}

QColor KelColorArea::presetColor(int index) {
    return index >= 0 && index < kPresetCount ? kPresets[index] : QColor();
}

void KelColorArea::retranslateUi() {
    setWindowTitle(tr("Color Edit"));
    m_title->setText(tr("COLOR"));
    m_acceptBtn->setText(tr("OK"));
    m_rejectBtn->setText(tr("Cancel"));
    m_hueBar->setAccessibleName(tr("Hue bar"));
    m_field->setAccessibleName(tr("Saturation and value field"));
    m_preview->setAccessibleName(tr("New colour"));
    const std::pair<QSpinBox *, QString> boxes[] = {
        {m_hBox, tr("Hue")}, {m_sBox, tr("Saturation")}, {m_vBox, tr("Value")},
        {m_rBox, tr("Red")}, {m_gBox, tr("Green")},      {m_bBox, tr("Blue")}};
    for (const auto &box : boxes)
        box.first->setAccessibleName(box.second);
    m_hexEdit->setAccessibleName(tr("Hexadecimal colour"));
    for (int i = 0; i < kPresetCount; ++i)
        m_presets[i]->setAccessibleName(tr("Preset colour %1").arg(i + 1));
}

void KelColorArea::setColor(const QColor &colour) {
    showColour(colour, true);
}

void KelColorArea::showColour(const QColor &colour, bool setHexText) {
    const QColor c = colour.isValid() ? colour.toRgb() : QColor(Qt::black);
    m_colour = QColor(c.red(), c.green(), c.blue());
    // A grey has no hue of its own; it is shown at hue 0.
    m_h = qMax(0, c.hsvHue());
    m_s = c.hsvSaturation();
    m_v = c.value();
    showState(setHexText);
}

void KelColorArea::showHsv() {
    m_colour = colourFromHsv(m_h, m_s, m_v);
    showState(true);
}

void KelColorArea::showState(bool setHexText) {
    m_updating = true;
    m_hueBar->setHue(m_h);
    m_field->setHsv(m_h, m_s, m_v);
    m_hBox->setValue(m_h);
    m_sBox->setValue(m_s);
    m_vBox->setValue(m_v);
    m_rBox->setValue(m_colour.red());
    m_gBox->setValue(m_colour.green());
    m_bBox->setValue(m_colour.blue());
    m_preview->setColor(m_colour);
    // What a screen reader tells of the two painted pickers.
    m_hueBar->setAccessibleDescription(tr("Hue %1").arg(m_h));
    m_field->setAccessibleDescription(tr("Saturation %1, value %2").arg(m_s).arg(m_v));
    if (setHexText)
        m_hexEdit->setText(hexText(m_colour));
    m_updating = false;
}

void KelColorArea::hValueChangedSlot(int value) {
    if (m_updating)
        return;
    m_h = value;
    showHsv();
}

void KelColorArea::sValueChangedSlot(int value) {
    if (m_updating)
        return;
    m_s = value;
    showHsv();
}

void KelColorArea::vValueChangedSlot(int value) {
    if (m_updating)
        return;
    m_v = value;
    showHsv();
}

void KelColorArea::updateEditData(int h, int s, int v) {
    m_h = h >= 360 ? 0 : h;
    m_s = s;
    m_v = v;
    showHsv();
}

void KelColorArea::rgbBoxChanged() {
    if (m_updating)
        return;
    setColor(QColor(m_rBox->value(), m_gBox->value(), m_bBox->value()));
}

void KelColorArea::rValueChangedSlot(int) {
    rgbBoxChanged();
}

void KelColorArea::gValueChangedSlot(int) {
    rgbBoxChanged();
}

void KelColorArea::bValueChangedSlot(int) {
    rgbBoxChanged();
}

void KelColorArea::editChangedSlot(const QString &text) {
    QColor colour;
    if (parseHexColour(text, colour))
        showColour(colour, false);
}

void KelColorArea::editFinishedSlot() {
    const QString text = finishedHexText(m_hexEdit->text());
    QColor colour;
    parseHexColour(text, colour);
    setColor(colour);
}

void KelColorArea::color_clicked() {
    for (int i = 0; i < kPresetCount; ++i) {
        if (sender() == m_presets[i])
            setColor(kPresets[i]);
    }
}

void KelColorArea::MouseReleaseSlot() {
    emit ApplyColor();
}

void KelColorArea::paintEvent(QPaintEvent *) {
    KelMessageBox::paintSkinnedDialog(this, m_background);
}

void KelColorArea::keyPressEvent(QKeyEvent *event) {
    if (!KelMessageBox::pressOnEnter(event, {m_acceptBtn, m_rejectBtn}))
        QDialog::keyPressEvent(event);
}
