// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button that makes a DPI stage the active one: the lit or the dark stage picture with
// the stage number on it. Checkable, so that the page can keep its stage buttons in one
// exclusive group. Space and Enter press it; the arrow keys move the focus to the group's
// previous or next stage shown and choose nothing.

#include <QAbstractButton>
#include <QPixmap>

class KelStageButton : public QAbstractButton {
    Q_OBJECT

public:
    // number: the stage number shown (counted from 1).
    explicit KelStageButton(int number, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Focuses the nearest stage button shown step ids away in the group, if there is one.
    void focusStage(int step);

    QPixmap m_on;
    QPixmap m_off;
};
