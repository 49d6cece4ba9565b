// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelMacroSelect.h"

#include "AccessibleRole.h"
#include "AppConfig.h"
#include "ButtonsLayout.h"
#include "FocusMark.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QCheckBox>
#include <QIntValidator>
#include <QToolButton>

using namespace ButtonsLayout;

namespace {
QRect place(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height());
}
} // namespace

KelMacroSelect::KelMacroSelect(const QString &title, const QString &name, int loopCount,
                               int loopMode, QWidget *parent)
    : KelSkinDialog(kMacroDialogW, kMacroDialogH, parent) {
    setObjectName(QStringLiteral("macroSelect"));
    setTitle(title);

    KelLabel *nameLabel = addLabel(kMacroNameLabel);
    nameLabel->setText(tr("NAME"));
    m_nameBtn = new KelPushButton(skinStates(QStringLiteral("button"), 3), this);
    // Named by its caption: before a macro is chosen the button shows no text. A screen reader
    // says the macro shown as the button's description (its tool tip).
    m_nameBtn->setAccessibleName(nameLabel->text());
    m_nameBtn->setObjectName(QStringLiteral("macroNameButton"));
    m_nameBtn->setGeometry(place(kMacroName));
    m_nameMenu = new KelMenu(this);
    for (int i = 0; i < kMacroListSize; ++i) {
        const QString entry = macroListEntry(i);
        if (!entry.isEmpty())
            // A "&" in a name is no shortcut mark.
            m_nameMenu->addAction(QString(entry).replace(QLatin1Char('&'), QLatin1String("&&")))
                ->setData(entry);
    }
    m_nameMenu->setFixedWidth(scaled(kMacroName.width()));
    m_nameBtn->setMenu(m_nameMenu);
    connect(m_nameMenu, &QMenu::triggered, this, &KelMacroSelect::chooseName);

    KelLabel *loopLabel = addLabel(kLoopLabel);
    loopLabel->setText(tr("LOOP TIMES"));
    m_loopEdit = new KelLineEdit(this);
    loopLabel->setBuddy(m_loopEdit);
    m_loopEdit->setDesignPixelSize(kTextPixels);
    m_loopEdit->setGeometry(place(kLoopEdit));
    m_loopEdit->setMaxLength(3);
    m_loopEdit->setValidator(new QIntValidator(1, kMaxLoopCount, m_loopEdit));
    m_loopEdit->setStyleSheet(
        QStringLiteral("border-width:2px;background-color:rgb(30,30,30);color:white"));
    m_loopEdit->setText(QString::number(qBound(1, loopCount, kMaxLoopCount)));
    // What will be used is what the field shows once it is left; a count the mouse cannot
    // play (empty, 0, above 255) is not answered.
    connect(m_loopEdit, &QLineEdit::editingFinished, this,
            [this] { m_loopEdit->setText(QString::number(this->loopCount())); });
    connect(m_loopEdit, &QLineEdit::textChanged, this, &KelMacroSelect::refreshYes);

    const QString options[LoopModes] = {tr("LOOPS TIME(1-255)"), tr("REPEAT RUN WHEN KEY DOWN"),
                                        tr("REPEAT RUN UNTILL THE KEY DOWN")};
    for (int i = 0; i < LoopModes; ++i) {
        m_options[i] = new QCheckBox(options[i], this);
        useSkinCheckPictures(m_options[i]);
        setAccessibleRole(m_options[i], QAccessible::RadioButton); // one mode out of three
        // Not a key capture dialog: Tab reaches the options, Space toggles them.
        m_options[i]->setFocusPolicy(Qt::StrongFocus);
        markFocusOf(m_options[i]);
        m_options[i]->setGeometry(scaledRect(kLoopOptionX, kLoopOptionTop + kLoopOptionStep * i,
                                             kLoopOptionW, kLoopOptionStep));
        m_options[i]->setChecked(i == loopMode);
        connect(m_options[i], &QCheckBox::clicked, this, &KelMacroSelect::onOptionClicked);
    }
    showName(name);
}

int KelMacroSelect::loopCount() const {
    // The validator lets a number of three digits through while it is typed ("300"): the
    // mouse counts to 255.
    return qBound(1, m_loopEdit->text().toInt(), kMaxLoopCount);
}

int KelMacroSelect::loopMode() const {
    for (int i = 0; i < LoopModes; ++i) {
        if (m_options[i]->isChecked())
            return i;
    }
    return LoopTimes;
}

void KelMacroSelect::chooseName(QAction *action) {
    showName(action->data().toString());
}

void KelMacroSelect::onOptionClicked() {
    for (QCheckBox *option : m_options)
        option->setChecked(option == sender());
    refreshYes();
}

void KelMacroSelect::refreshYes() {
    yesButton()->setEnabled(loopMode() != LoopTimes || m_loopEdit->hasAcceptableInput());
}

void KelMacroSelect::showName(const QString &name) {
    m_name = name;
    m_nameBtn->setText(name);
}
