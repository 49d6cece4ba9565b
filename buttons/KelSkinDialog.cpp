// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelSkinDialog.h"

#include "ButtonsLayout.h"
#include "FocusMark.h"
#include "FocusOrder.h"
#include "InterfaceColour.h"
#include "KelLabel.h"
#include "KelMessageBox.h"
#include "KeyCapture.h"
#include "KeyTable.h"
#include "LanguageFont.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QCheckBox>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

using namespace ButtonsLayout;

KelSkinDialog::KelSkinDialog(int designWidth, int designHeight, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint) {
    setFixedSize(scaledSize(designWidth, designHeight));
    setAttribute(Qt::WA_TranslucentBackground);
    m_background = QPixmap(skinPath(QStringLiteral("dlg.png")));

    m_title = addLabel(QRect(20, kTitleTop, designWidth - 40, kTitleH), kTitlePixels);
    m_title->setBold(true);
    m_title->setAlignment(Qt::AlignCenter);

    const int top = designHeight - kButtonBottom - kButtonH;
    const int left = (designWidth - 2 * kButtonW - kButtonGap) / 2;
    auto makeButton = [&](const QString &name, const QString &icon, const QString &text, int x) {
        QToolButton *button = KelMessageBox::makeButton(this, name, icon, text);
        button->setGeometry(scaledRect(x, top, kButtonW, kButtonH));
        return button;
    };
    m_yesBtn =
        makeButton(QStringLiteral("msgBoxYesBtn"), QStringLiteral(":/yes_Btn"), tr("Yes"), left);
    m_noBtn = makeButton(QStringLiteral("msgBoxNoBtn"), QStringLiteral(":/no_Btn"), tr("No"),
                         left + kButtonW + kButtonGap);
    // A press taken off the button before it is let go is no answer.
    connect(m_yesBtn, &QToolButton::clicked, this, &QDialog::accept);
    connect(m_noBtn, &QToolButton::clicked, this, &QDialog::reject);
}

void KelSkinDialog::setTitle(const QString &title) {
    setWindowTitle(title);
    m_title->setText(title);
}

KelLabel *KelSkinDialog::addLabel(const QRect &design, int designPixels) {
    auto *label = new KelLabel(this);
    label->setDesignPixelSize(designPixels > 0 ? designPixels : kTextPixels);
    label->setGeometry(scaledRect(design.x(), design.y(), design.width(), design.height()));
    label->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255);"));
    return label;
}

KelLabel *KelSkinDialog::addHint(const QString &text) {
    KelLabel *hint = addLabel(kKeyHint);
    hint->setAlignment(Qt::AlignCenter);
    hint->setText(text);
    return hint;
}

void KelSkinDialog::useSkinCheckPictures(QCheckBox *box) {
    const int size = scaled(kCheckImage);
    box->setStyleSheet(
        QStringLiteral("QCheckBox{color:rgb(220,220,220);spacing:%1px;background:transparent;}"
                       "QCheckBox::indicator{width:%2px;height:%2px;}"
                       "QCheckBox::indicator:unchecked{image:url(%3);}"
                       "QCheckBox::indicator:checked{image:url(%4);}")
            .arg(scaled(8))
            .arg(size)
            .arg(skinPath(QStringLiteral("checkbox2-1.png")),
                 skinPath(QStringLiteral("checkbox2-2.png"))));
    box->setFont(languageFont(kTextPixels));
    box->setCursor(Qt::PointingHandCursor);
    markFocusOf(box);
}

void KelSkinDialog::paintEvent(QPaintEvent *) {
    KelMessageBox::paintSkinnedDialog(this, m_background);
}

void KelSkinDialog::keyPressEvent(QKeyEvent *event) {
    if (!KelMessageBox::pressOnEnter(event, {m_yesBtn, m_noBtn}))
        QDialog::keyPressEvent(event);
}

void KelSkinDialog::showEvent(QShowEvent *event) {
    // The controls a dialog adds come after "Yes" and "No" in the order they were made.
    chainTabOrder(readingOrder(this));
    QDialog::showEvent(event);
}

KelKeyDialog::KelKeyDialog(QWidget *parent) : KelSkinDialog(kKeyDialogW, kKeyDialogH, parent) {
    // A key taken for the box reaches no button.
    m_capture = new KeyCapture(this);
    m_capture->setTakesKeys(true);
    m_capture->listenWhile([this] { return isVisible() && isCapturing(); });
    connect(m_capture, &KeyCapture::keyEvent, this, &KelKeyDialog::onKeyEvent);
}

bool KelKeyDialog::isCapturing() const {
    return m_keyBox && focusWidget() == m_keyBox;
}

bool KelKeyDialog::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_keyBox && event->type() == QEvent::MouseButtonPress)
        m_capture->setArmed(true);
    return KelSkinDialog::eventFilter(watched, event);
}

QLabel *KelKeyDialog::addKeyBox(const QRect &design) {
    auto *box = new QLabel(this);
    box->setGeometry(scaledRect(design.x(), design.y(), design.width(), design.height()));
    QFont font(QStringLiteral("Consolas"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(scaled(kKeyPixels));
    box->setFont(font);
    box->setAlignment(Qt::AlignCenter);
    box->setFocusPolicy(Qt::StrongFocus);
    const QColor accent = interfaceColour();
    box->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255); background: rgb(20, 22, 25);"
                                      "border: 1px solid rgb(%1, %2, %3); border-radius: %4px;")
                           .arg(accent.red())
                           .arg(accent.green())
                           .arg(accent.blue())
                           .arg(scaled(3)));
    box->setFocus();
    markFocusOf(box, KelMessageBox::kFocusInset);
    box->installEventFilter(this);
    m_keyBox = box;
    return box;
}

void KelKeyDialog::onKeyEvent(quint8 scanCode, quint8 flags, bool) {
    if (!isCapturing())
        return;
    const int code = keyCodeFromEvent(scanCode, flags);
    // A key the mouse cannot send (one without a keyboard usage) is not taken.
    int usage = 0;
    if (!keyCodeToUsage(code, usage))
        return;
    if (code == m_lastCode && flags == m_lastFlags)
        return;
    m_lastCode = code;
    m_lastFlags = flags;
    keyCaptured(code, flags);
}
