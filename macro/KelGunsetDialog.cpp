// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelGunsetDialog.h"

#include "AppConfig.h"
#include "AppDir.h"
#include "FocusMark.h"
#include "InterfaceColour.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "LanguageFont.h"
#include "MacroLayout.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>

using namespace MacroLayout;

KelGunsetDialog::KelGunsetDialog(QWidget *parent, double factor)
    : QDialog(parent, Qt::FramelessWindowHint), m_factor(factor) {
    setObjectName(QStringLiteral("gunSetDialog"));
    setWindowTitle(tr("Gun Set"));
    setFixedSize(scaledSize(kGunWidth, kGunHeight, factor));
    setAttribute(Qt::WA_TranslucentBackground);
    m_background = QPixmap(AppDir::path() + QStringLiteral("/skin/dlg_gun.png"));
    m_bullet = QPixmap(AppDir::path() + QStringLiteral("/skin/bullet.png"));
    auto place = [factor](const QRect &r) {
        return scaledRect(r.x(), r.y(), r.width(), r.height(), factor);
    };
    auto label = [this, &place](const QString &text, const QRect &where, int pixels) {
        auto *l = new KelLabel(text, this);
        l->setDesignPixelSize(pixels);
        l->setStyleSheet(QStringLiteral("color: rgb(225, 225, 225);"));
        l->setGeometry(place(where));
        return l;
    };

    KelLabel *title = label(tr("GUN SET"), kGunTitle, 16);
    title->setBold(true);
    title->setAlignment(Qt::AlignCenter);
    KelLabel *nameLabel = label(tr("GUNFILE NAME"), kGunNameLabel, 12);
    m_nameEdit = new KelLineEdit(this);
    nameLabel->setBuddy(m_nameEdit);
    m_nameEdit->setObjectName(QStringLiteral("gunNameEdit"));
    m_nameEdit->setMaxLength(100);
    m_nameEdit->setDesignPixelSize(12);
    m_nameEdit->setStyleSheet(QStringLiteral(
        "border:1px solid rgb(70,75,82);background-color:rgb(30,30,30);color:white"));
    m_nameEdit->setGeometry(place(kGunNameField));
    label(tr("BULLETS"), kGunBulletsLabel, 12);
    const QString rows[] = {tr("DELAY(MS)"), tr("VERTICAL"), tr("HORIZONTAL")};
    label(rows[0], QRect(kGunRowLabelX, kGunDelayY, kGunRowLabelW, kGunRowH), 12);
    label(rows[1], QRect(kGunRowLabelX, kGunVerticalY, kGunRowLabelW, kGunRowH), 12);
    label(rows[2], QRect(kGunRowLabelX, kGunHorizontalY, kGunRowLabelW, kGunRowH), 12);

    for (int i = 0; i < kGunShots; ++i) {
        const int x = kGunColumnX + kGunColumnStep * i + kGunSpinOffset;
        m_delay[i] = spinBox(1, 999, 100);
        m_vertical[i] = spinBox(-100, 100, 0);
        m_horizontal[i] = spinBox(-100, 100, 0);
        m_delay[i]->setGeometry(place(QRect(x, kGunDelayY, kGunColumnW, kGunRowH)));
        m_vertical[i]->setGeometry(place(QRect(x, kGunVerticalY, kGunColumnW, kGunRowH)));
        m_horizontal[i]->setGeometry(place(QRect(x, kGunHorizontalY, kGunColumnW, kGunRowH)));
        m_vertical[i]->setToolTip(tr("Positive steps go down, negative steps up."));
        m_horizontal[i]->setToolTip(tr("Positive steps go right, negative steps left."));
        // A screen reader names each box by its row and its shot: "VERTICAL 3".
        m_delay[i]->setAccessibleName(QStringLiteral("%1 %2").arg(rows[0]).arg(i + 1));
        m_vertical[i]->setAccessibleName(QStringLiteral("%1 %2").arg(rows[1]).arg(i + 1));
        m_horizontal[i]->setAccessibleName(QStringLiteral("%1 %2").arg(rows[2]).arg(i + 1));
    }

    const QString style = KelMessageBox::buttonStyleSheet(interfaceColour());
    auto button = [&](const char *name, const QString &icon, const QString &text,
                      const QRect &where) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(resourceIcon(icon));
        b->setIconSize(scaledSize(16, 16, factor));
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setFont(languageFont(14));
        b->setStyleSheet(style);
        b->setCursor(Qt::PointingHandCursor);
        b->setGeometry(place(where));
        markFocusOf(b, KelMessageBox::kFocusInset);
        return b;
    };
    m_yesBtn = button("msgBoxYesBtn", QStringLiteral(":/yes_Btn"), tr("Yes"), kGunYes);
    m_noBtn = button("msgBoxNoBtn", QStringLiteral(":/no_Btn"), tr("No"), kGunNo);
    connect(m_yesBtn, &QToolButton::clicked, this, &KelGunsetDialog::OnYesClick);
    connect(m_noBtn, &QToolButton::clicked, this, &QDialog::reject);
}

QSpinBox *KelGunsetDialog::spinBox(int minimum, int maximum, int value) {
    auto *box = new QSpinBox(this);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setAlignment(Qt::AlignCenter);
    // Typed, or stepped with the wheel and the arrow keys; no arrow buttons in the narrow box.
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setFont(languageFont(12));
    box->setStyleSheet(QStringLiteral("QSpinBox{border:1px solid rgb(70,75,82);"
                                      "background-color:rgb(30,30,30);color:white;}"));
    return box;
}

QSpinBox *KelGunsetDialog::delayBox(int shot) const {
    return shot >= 0 && shot < kGunShots ? m_delay[shot] : nullptr;
}

QSpinBox *KelGunsetDialog::verticalBox(int shot) const {
    return shot >= 0 && shot < kGunShots ? m_vertical[shot] : nullptr;
}

QSpinBox *KelGunsetDialog::horizontalBox(int shot) const {
    return shot >= 0 && shot < kGunShots ? m_horizontal[shot] : nullptr;
}

void KelGunsetDialog::OnYesClick() {
    const QString name = m_nameEdit->text();
    if (name.isEmpty()) {
        KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"), tr("Please input file name."),
                          QString(), this);
        box.exec();
        return;
    }
    if (!isSafeFileName(name)) {
        KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                          tr("A macro name cannot be empty or contain / or \\."), QString(), this);
        box.exec();
        return;
    }
    if (!fitsFileNameLimit(name)) {
        KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                          tr("This name is too long for a macro."), QString(), this);
        box.exec();
        return;
    }
    QVector<GunShot> shots;
    for (int i = 0; i < kGunShots; ++i)
        shots.append({m_delay[i]->value(), m_vertical[i]->value(), m_horizontal[i]->value()});
    m_events = gunEvents(shots);
    m_name = name;
    accept();
}

bool KelGunsetDialog::writeGunFile(const QString &name) const {
    MacroFile file;
    file.DefaultDelay = 10;
    file.DelayType = 1;
    file.LoopType = 0;
    file.LoopTime = 1;
    file.events = m_events;
    return saveGunFile(name, file);
}

void KelGunsetDialog::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_background);
    for (int i = 0; i < kGunShots; ++i)
        painter.drawPixmap(scaledRect(kGunColumnX + kGunColumnStep * i, kGunBulletY, kGunBulletW,
                                      kGunBulletH, m_factor),
                           m_bullet);
    QPen pen(interfaceColour());
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void KelGunsetDialog::keyPressEvent(QKeyEvent *event) {
    if (!KelMessageBox::pressOnEnter(event, {m_yesBtn, m_noBtn}))
        QDialog::keyPressEvent(event);
}
