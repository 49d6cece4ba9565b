// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gun-set dialog: five shots ("BULLETS"), each a delay and a vertical and horizontal
// step, and a file name. Accepted, it holds the generated steps and writes them as a gun
// file: per shot the left button released and pressed, the steps, and the delay.

#include "MacroFile.h"
#include "MacroRules.h"

#include <QDialog>
#include <QPixmap>

class KelLabel;
class KelLineEdit;
class QSpinBox;
class QToolButton;

class KelGunsetDialog : public QDialog {
    Q_OBJECT

public:
    KelGunsetDialog(QWidget *parent, double factor);

    // The name typed, as kept on acceptance.
    QString fileName() const { return m_name; }
    // The steps generated on acceptance.
    QVector<MacroEvent> events() const { return m_events; }
    // The shot fields of shot i (0..4): delay, vertical, horizontal.
    QSpinBox *delayBox(int shot) const;
    QSpinBox *verticalBox(int shot) const;
    QSpinBox *horizontalBox(int shot) const;

    // Writes the generated steps as the gun file `name`; false when it cannot be written.
    bool writeGunFile(const QString &name) const;

public slots:
    void OnYesClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    // Enter takes the dialog's "Yes"; Escape cancels.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QSpinBox *spinBox(int minimum, int maximum, int value);

    double m_factor;
    QPixmap m_background;
    QPixmap m_bullet;
    KelLineEdit *m_nameEdit = nullptr;
    QToolButton *m_yesBtn = nullptr;
    QToolButton *m_noBtn = nullptr;
    QSpinBox *m_delay[kGunShots] = {};
    QSpinBox *m_vertical[kGunShots] = {};
    QSpinBox *m_horizontal[kGunShots] = {};
    QString m_name;
    QVector<MacroEvent> m_events;
};
