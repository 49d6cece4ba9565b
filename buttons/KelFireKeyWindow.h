// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "FireKey Setting": what the button fires (a left, right or middle click, or a key), how
// many times ("Times:") and how far apart ("Delay:").

#include "ButtonRules.h"
#include "KelSkinDialog.h"

class KelLineEdit;
class QCheckBox;
class QLabel;

class KelFireKeyWindow : public KelKeyDialog {
    Q_OBJECT

public:
    explicit KelFireKeyWindow(QWidget *parent = nullptr);

    // Shows the fire key stored in a button.
    void preset(const ButtonInfo &button);
    FireKeySetting setting() const;
    QCheckBox *kindBox(int kind) const { return m_kinds[kind]; }
    KelLineEdit *timesEdit() const { return m_times; }
    KelLineEdit *delayEdit() const { return m_delay; }
    QString keyText() const;

signals:
    void SetFireKeyValue(int keyCode, int kind, int times, int delay);

public slots:
    void OnEditDataChanged(const QString &text);
    void checkbtn_clicked();
    void onEditReturn();

protected:
    void keyCaptured(int code, unsigned flags) override;
    // Keys count only for "Keyboard Key", and not while a number is typed.
    bool isCapturing() const override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void selectKind(int kind);
    void showKey(int code);

    QCheckBox *m_kinds[4] = {};
    QLabel *m_keyLabel = nullptr;
    KelLineEdit *m_times = nullptr;
    KelLineEdit *m_delay = nullptr;
    int m_kind = FireLeft;
    int m_key = 0;
    // Set by an Enter that ended typing a number while a key is still to be pressed.
    bool m_enterTaken = false;
};
