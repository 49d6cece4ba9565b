// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button that makes a DPI stage the active one: the lit or the dark stage picture with
// the stage number on it. Checkable, so that the page can keep its stage buttons in one
// exclusive group. Space and Enter press it; the arrow keys step to the group's next stage.

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
    QPixmap m_on;
    QPixmap m_off;
};
