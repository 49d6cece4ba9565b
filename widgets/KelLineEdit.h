// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A line edit in the language's font, looked up again whenever it paints.

#include <QLineEdit>

class KelLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit KelLineEdit(QWidget *parent = nullptr);

    // 0 (the default) uses the language's configured size.
    void setDesignPixelSize(int pixels);
    int designPixelSize() const { return m_designPixels; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refreshFont();

    int m_designPixels = 0;
};
