// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal "sending" dialog: a frameless, translucent picture with the loading animation
// in its middle. It stays until slotProcessDlg() closes it as accepted: Esc and the window
// manager's close do not end it, since the send goes on and its outcome is still to be told.

#include <QDialog>
#include <QPixmap>

class QLabel;
class QMovie;

class KelProcessDialog : public QDialog {
    Q_OBJECT

public:
    explicit KelProcessDialog(QWidget *parent = nullptr);

    QMovie *movie() const { return m_movie; }

public slots:
    void slotProcessDlg();
    // Refused: only the end of the send closes the dialog.
    void reject() override {}

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPixmap m_picture;
    QLabel *m_animation = nullptr;
    QMovie *m_movie = nullptr;
};
