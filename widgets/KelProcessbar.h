// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A progress bar that can paint a caption of its own in place of its percentage text
// (the battery bar shows "MOUSE OFF" this way). The caption is drawn white, bold and
// centred in the language's font at 16 pixels times the scale factor, smaller where it
// would not fit the bar.

#include <QProgressBar>
#include <QString>

class KelProcessbar : public QProgressBar {
    Q_OBJECT

public:
    explicit KelProcessbar(QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    void clearCaption();
    bool hasCaption() const { return m_hasCaption; }
    QString caption() const { return m_caption; }

    // The font a caption is painted in on a bar of this width.
    static QFont captionFont(const QString &caption, int width);
    // The standard text while no caption is set; empty while one is.
    QString text() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    bool m_hasCaption = false;
};
