// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Single Key": the key the button will send, taken from the next key pressed or released.

#include "KelSkinDialog.h"

class QLabel;

class KelSingleKeyWindow : public KelKeyDialog {
    Q_OBJECT

public:
    explicit KelSingleKeyWindow(QWidget *parent = nullptr);

    // Shows a stored key code and makes it the choice.
    void preset(int keyCode);
    // The chosen key code (0: none).
    int keyCode() const { return m_key; }
    QString keyText() const;

protected:
    void keyCaptured(int code, unsigned flags) override;

private:
    QLabel *m_keyLabel = nullptr;
    int m_key = 0;
};
