// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "MACRO SELECT" / "GUNFILE SELECT": which macro file a button plays, and how: a number of
// times, repeated while the button is held, or repeated until it is pressed again.

#include "KelSkinDialog.h"

class KelLineEdit;
class KelMenu;
class KelPushButton;
class QAction;
class QCheckBox;

class KelMacroSelect : public KelSkinDialog {
    Q_OBJECT

public:
    static constexpr int kMaxLoopCount = 255;
    // Loop modes, as a button stores them.
    enum LoopMode { LoopTimes = 0, LoopWhileHeld = 1, LoopUntilPressed = 2, LoopModes = 3 };

    KelMacroSelect(const QString &title, const QString &name, int loopCount, int loopMode,
                   QWidget *parent = nullptr);

    QString chosenName() const { return m_name; }
    // The loop count as typed; an empty field counts as one.
    int loopCount() const;
    int loopMode() const;

    KelMenu *nameMenu() const { return m_nameMenu; }
    KelLineEdit *loopEdit() const { return m_loopEdit; }
    QCheckBox *loopOption(int mode) const { return m_options[mode]; }

private:
    void chooseName(QAction *action);
    void onOptionClicked();
    void refreshYes();
    void showName(const QString &name);

    QString m_name;
    KelPushButton *m_nameBtn = nullptr;
    KelMenu *m_nameMenu = nullptr;
    KelLineEdit *m_loopEdit = nullptr;
    QCheckBox *m_options[LoopModes] = {};
};
