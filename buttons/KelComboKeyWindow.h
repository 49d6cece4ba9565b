// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Combo Key": the combination of modifiers and one key that the button will send, as held
// at the last key press.

#include "ButtonRules.h"
#include "KelSkinDialog.h"

class QLabel;

class KelComboKeyWindow : public KelKeyDialog {
    Q_OBJECT

public:
    explicit KelComboKeyWindow(QWidget *parent = nullptr);

    // Shows the combination stored in a button.
    void preset(const ButtonInfo &button);
    const ComboKeys &keys() const { return m_combo.keys(); }
    QString comboText() const;

protected:
    void keyCaptured(int code, unsigned flags) override;

private:
    ComboCapture m_combo;
    QLabel *m_comboLabel = nullptr;
};
