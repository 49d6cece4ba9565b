// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answers the next modal box that opens: records its first text line and accepts (or
// rejects) it, so a test can drive code that asks the user.

#include "KelMessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>

class ModalCloser : public QObject {
public:
    explicit ModalCloser(bool accept = true) : m_accept(accept) {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<KelMessageBox *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("msgBoxInfoLabel1")))
                texts << label->text();
            else
                texts << QString();
            if (m_accept)
                dialog->accept();
            else
                dialog->reject();
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
    bool m_accept;
};
