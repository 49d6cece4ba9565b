// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandBar.h"

#include "KelPushButton.h"
#include "MainLayout.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QRect>

using namespace MainLayout;

namespace {
struct CommandPlace {
    const char *objectName;
    QRect design;
};

// In the order of CommandBar::Command, which is the keyboard's reading order.
constexpr CommandPlace kPlaces[CommandBar::CommandCount] = {
    {"addBtn", kAdd},       {"deleteBtn", kDelete},     {"copyBtn", kCopy},
    {"resetBtn", kReset},   {"resetAllBtn", kResetAll}, {"importBtn", kImport},
    {"exportBtn", kExport}, {"loadBtn", kLoadConfig},   {"saveBtn", kSaveConfig},
    {"okBtn", kOk},         {"cancelBtn", kCancel},     {"applyBtn", kApply}};
} // namespace

CommandBar::CommandBar(QWidget *window) : QObject(window) {
    const QStringList pictures = skinStates(QStringLiteral("button"), 4);
    for (int c = 0; c < CommandCount; ++c) {
        auto *b = new KelPushButton(pictures, window);
        b->setObjectName(QLatin1String(kPlaces[c].objectName));
        connect(b, &QPushButton::clicked, this, [this, c] { emit triggered(Command(c)); });
        m_buttons[c] = b;
    }
}

void CommandBar::relayout() {
    for (int c = 0; c < CommandCount; ++c)
        m_buttons[c]->setGeometry(scaledRect(kPlaces[c].design));
}

void CommandBar::retranslateUi() {
    const QString texts[CommandCount] = {tr("ADD"),       tr("DELETE"), tr("COPY"),   tr("RESET"),
                                         tr("Reset All"), tr("IMPORT"), tr("EXPORT"), tr("LOAD1"),
                                         tr("SAVE"),      tr("OK"),     tr("Cancel"), tr("Apply")};
    for (int c = 0; c < CommandCount; ++c)
        m_buttons[c]->setText(texts[c]);
}

void CommandBar::setEnabled(bool on) {
    for (KelPushButton *b : m_buttons)
        b->setEnabled(on);
}

QList<QWidget *> CommandBar::buttons() const {
    QList<QWidget *> list;
    for (KelPushButton *b : m_buttons)
        list << b;
    return list;
}
