// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's two rows of command buttons under the pages: the profile commands (ADD,
// DELETE, COPY, RESET, Reset All, IMPORT, EXPORT, LOAD, SAVE) and OK, Cancel and Apply.
// The buttons are the window's children, placed in its design coordinates; a click is told
// as the command it stands for.

#include <QList>
#include <QObject>

class KelPushButton;
class QWidget;

class CommandBar : public QObject {
    Q_OBJECT

public:
    enum Command {
        Add,
        Delete,
        Copy,
        Reset,
        ResetAll,
        Import,
        Export,
        LoadConfig,
        SaveConfig,
        Ok,
        Cancel,
        Apply,
        CommandCount
    };

    explicit CommandBar(QWidget *window);

    KelPushButton *button(Command command) const { return m_buttons[command]; }
    QList<QWidget *> buttons() const;
    void relayout();
    void retranslateUi();
    void setEnabled(bool on);

signals:
    void triggered(CommandBar::Command command);

private:
    KelPushButton *m_buttons[CommandCount] = {};
};
