// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The on-screen text: a frameless, translucent, always-on-top window that never takes the
// focus or the mouse, near the bottom centre of the primary screen. Each message shows its
// text in its colour on a dark rounded plate for the message's time, the last part of it
// fading out; a new message replaces the text and starts the time again. The plate follows
// the screen's scale as the main window does.

#include "OsdChannel.h"

#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

class OsdWindow : public QWidget {
    Q_OBJECT

public:
    // Used when a message gives no time or no text height (in pixels at 96 DPI).
    static constexpr int kDefaultTime = 1500;
    static constexpr int kDefaultTextHeight = 60;
    // Times are kept within these bounds, so a bad record neither flashes nor sticks.
    static constexpr int kMinTime = 200;
    static constexpr int kMaxTime = 60000;
    // A message's time in milliseconds within those bounds, the default for none.
    static int boundedTime(quint32 displayTime);

    explicit OsdWindow(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    QColor colour() const { return m_colour; }
    // How long the current message has been asked to stay, after the bounds.
    int displayTime() const { return m_displayTime; }

public slots:
    void showMessage(const OsdMessage &message);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void layOut();

    QString m_text;
    QString m_shownText; // elided to the screen
    QColor m_colour;
    QFont m_font;
    int m_textHeight = kDefaultTextHeight; // at 96 DPI
    double m_factor = 1.0;                 // of the screen the plate shows on
    int m_displayTime = kDefaultTime;
    qreal m_opacity = 1.0;
    QTimer m_hold;
    QVariantAnimation m_fade;
};
