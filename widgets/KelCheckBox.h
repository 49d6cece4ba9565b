// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Skinned check boxes and radio buttons: white text in the language's font, a dark square
// (or round) indicator that fills with the interface colour when checked, sized by the
// scale factor. Colour and font are taken again each time the box is shown. Space toggles
// them (Qt's own keys); they mark the keyboard focus.

#include <QCheckBox>
#include <QRadioButton>

// The style sheet of a check box ("QCheckBox") or radio button ("QRadioButton").
QString checkStyleSheet(const QString &widgetClass, const QColor &accent, double factor);

class KelCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit KelCheckBox(const QString &text = QString(), QWidget *parent = nullptr);

    // 0 (the default) uses the language's configured size.
    void setDesignPixelSize(int pixels);
    void refreshStyle();

protected:
    void showEvent(QShowEvent *event) override;
    // A checked box shows a tick over its filled square; a focused one the focus mark.
    void paintEvent(QPaintEvent *event) override;

private:
    void paintTick();

    int m_designPixels = 0;
};

class KelRadioButton : public QRadioButton {
    Q_OBJECT

public:
    explicit KelRadioButton(const QString &text = QString(), QWidget *parent = nullptr);

    void setDesignPixelSize(int pixels);
    void refreshStyle();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_designPixels = 0;
};
