// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelFireKeyWindow.h"

#include "AccessibleRole.h"
#include "ButtonsLayout.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KeyTable.h"
#include "Scale.h"

#include <QCheckBox>
#include <QIntValidator>
#include <QKeyEvent>
#include <QToolButton>
#include <utility>

using namespace ButtonsLayout;

KelFireKeyWindow::KelFireKeyWindow(QWidget *parent) : KelKeyDialog(parent) {
    setObjectName(QStringLiteral("fireKeyWindow"));
    setTitle(tr("FireKey Setting"));
    const QString kinds[4] = {tr("Left"), tr("Right"), tr("Middle"), tr("Keyboard Key")};
    // The four kinds share the row out by the width of their texts.
    int textWidth = 0;
    for (int i = 0; i < 4; ++i) {
        m_kinds[i] = new QCheckBox(kinds[i], this);
        useSkinCheckPictures(m_kinds[i]);
        // One kind out of four: a screen reader says so.
        setAccessibleRole(m_kinds[i], QAccessible::RadioButton);
        textWidth += m_kinds[i]->sizeHint().width();
        connect(m_kinds[i], &QCheckBox::clicked, this, &KelFireKeyWindow::checkbtn_clicked);
    }
    const int gap = qMax(0, (scaled(kKeyDialogW - 2 * kKindLeft) - textWidth) / 3);
    int x = scaled(kKindLeft);
    for (QCheckBox *box : m_kinds) {
        const int w = box->sizeHint().width();
        box->setGeometry(x, scaled(kKindTop), w, scaled(kKindH));
        x += w + gap;
    }
    m_keyLabel = addKeyBox(kFireKeyBox);
    m_keyLabel->setAccessibleDescription(kinds[FireKeyboard]);

    auto field = [this](int x, const QString &caption, const QString &text) {
        KelLabel *label = addLabel(QRect(x, kFieldTop, kFieldLabelW, kFieldH));
        label->setText(caption);
        auto *edit = new KelLineEdit(this);
        // A screen reader names the field by its caption.
        label->setBuddy(edit);
        edit->setDesignPixelSize(kTextPixels);
        edit->setGeometry(scaledRect(x + kFieldLabelW, kFieldTop, kFieldW, kFieldH));
        edit->setMaxLength(3);
        edit->setValidator(new QIntValidator(1, kFireFieldMax, edit));
        edit->setStyleSheet(
            QStringLiteral("border-width:2px;background-color:rgb(30,30,30);color:white"));
        edit->setText(text);
        connect(edit, &QLineEdit::textChanged, this, &KelFireKeyWindow::OnEditDataChanged);
        connect(edit, &QLineEdit::returnPressed, this, &KelFireKeyWindow::onEditReturn);
        return edit;
    };
    m_times = field(kTimesX, tr("Times:"), QStringLiteral("3"));
    m_delay = field(kDelayX, tr("Delay:"), QStringLiteral("100"));
    selectKind(FireLeft);
}

void KelFireKeyWindow::preset(const ButtonInfo &button) {
    const FireKeySetting s = fireKeyPreset(button);
    selectKind(s.kind);
    showKey(s.keyCode);
    m_times->setText(QString::number(s.times));
    m_delay->setText(QString::number(s.delay));
}

FireKeySetting KelFireKeyWindow::setting() const {
    FireKeySetting s;
    s.kind = m_kind;
    s.keyCode = m_key;
    s.times = m_times->text().toInt();
    s.delay = m_delay->text().toInt();
    return s;
}

QString KelFireKeyWindow::keyText() const {
    return m_keyLabel->text();
}

void KelFireKeyWindow::selectKind(int kind) {
    m_kind = kind;
    for (int i = 0; i < 4; ++i)
        m_kinds[i]->setChecked(i == kind);
    m_keyLabel->setEnabled(kind == FireKeyboard);
    if (kind == FireKeyboard) {
        m_keyLabel->setFocus();
    } else {
        showKey(0);
    }
}

void KelFireKeyWindow::showKey(int code) {
    m_key = code;
    m_keyLabel->setText(keyName(code));
}

void KelFireKeyWindow::checkbtn_clicked() {
    for (int i = 0; i < 4; ++i) {
        if (sender() == m_kinds[i])
            selectKind(i);
    }
    const FireKeySetting s = setting();
    emit SetFireKeyValue(s.keyCode, s.kind, s.times, s.delay);
}

void KelFireKeyWindow::OnEditDataChanged(const QString &) {
    // An empty field or 0 would be stored as the default, not as shown: only 1..255 answers.
    yesButton()->setEnabled(m_times->hasAcceptableInput() && m_delay->hasAcceptableInput());
    const FireKeySetting s = setting();
    emit SetFireKeyValue(s.keyCode, s.kind, s.times, s.delay);
}

void KelFireKeyWindow::onEditReturn() {
    // With a key still to be pressed, Enter ends typing a number and the key box takes the
    // next key; it does not also answer the dialog. With the key chosen, Enter answers it (the
    // key box, still listening, would take Enter as the key).
    if (m_kind != FireKeyboard || m_key != 0)
        return;
    m_keyLabel->setFocus();
    m_enterTaken = true;
}

void KelFireKeyWindow::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (std::exchange(m_enterTaken, false) && enter) {
        event->accept();
        return;
    }
    KelKeyDialog::keyPressEvent(event);
}

bool KelFireKeyWindow::isCapturing() const {
    return m_kind == FireKeyboard && KelKeyDialog::isCapturing();
}

void KelFireKeyWindow::keyCaptured(int code, unsigned) {
    showKey(code);
    const FireKeySetting s = setting();
    emit SetFireKeyValue(s.keyCode, s.kind, s.times, s.delay);
}
