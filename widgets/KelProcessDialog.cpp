// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelProcessDialog.h"

#include "AppDir.h"
#include "Scale.h"

#include <QLabel>
#include <QMovie>
#include <QPainter>

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 160;
} // namespace

KelProcessDialog::KelProcessDialog(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setModal(true);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(scaledSize(kWidth, kHeight));
    m_picture = QPixmap(AppDir::path() + QStringLiteral("/skin/process.png"));
    // What a screen reader says while the animation runs.
    setWindowTitle(tr("Sending to the mouse"));

    m_animation = new QLabel(this);
    m_animation->setObjectName(QStringLiteral("processAnimation"));
    m_animation->setAlignment(Qt::AlignCenter);
    m_animation->setGeometry(rect());
    m_movie = new QMovie(QStringLiteral(":/skin/loading.gif"), QByteArray(), this);
    if (m_movie->isValid())
        m_animation->setMovie(m_movie);
}

void KelProcessDialog::slotProcessDlg() {
    accept();
}

void KelProcessDialog::showEvent(QShowEvent *event) {
    if (m_movie->isValid())
        m_movie->start();
    QDialog::showEvent(event);
}

void KelProcessDialog::hideEvent(QHideEvent *event) {
    m_movie->stop();
    QDialog::hideEvent(event);
}

void KelProcessDialog::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
}
