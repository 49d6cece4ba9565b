// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label in the language's font: the configured size, or a fixed design size in pixels,
// times the scale factor. The font is looked up again whenever the label paints.

#include <QLabel>

class KelLabel : public QLabel {
    Q_OBJECT

public:
    explicit KelLabel(QWidget *parent = nullptr);
    explicit KelLabel(const QString &text, QWidget *parent = nullptr);

    // 0 (the default) uses the language's configured size.
    void setDesignPixelSize(int pixels);
    int designPixelSize() const { return m_designPixels; }
    void setBold(bool bold);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refreshFont();

    int m_designPixels = 0;
    bool m_bold = false;
};
