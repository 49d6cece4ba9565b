// The button page's choices: a function from the menus goes into the current button's slot,
// through its dialog where it has parameters.
#include "AppConfig.h"
#include "ButtonCatalogue.h"
#include "ButtonRules.h"
#include "KelBtnWindow.h"
#include "KelComboKeyWindow.h"
#include "KelFireKeyWindow.h"
#include "KelMacroSelect.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "KelSingleKeyWindow.h"
#include "KelSniperWindow.h"
#include "ProfileData.h"

#include <QDebug>

namespace {
// A dialog runs modally; a record shown anew meanwhile (a profile switched on the mouse)
// is not the one the choice was made for.
template <typename Dialog>
bool accepted(Dialog &dialog, const ProfileData *before, const ProfileData *now) {
    return dialog.exec() == QDialog::Accepted && before == now;
}
} // namespace

void KelBtnWindow::chooseFunction(int fun) {
    const int slot = buttonSlot(m_bType, m_iBtn);
    KelPushButton *btn = currentButton();
    if (!m_record || slot < 0 || !btn)
        return;
    emit SelBtnControl(btn, true);
    if (!keepsOneClick(*m_record, slot, fun)) {
        emit PopOneClickBox();
    } else {
        switch (fun) {
        case FunMacroManager:
        case FunGunFile:
            chooseMacro(slot, fun);
            break;
        case FunSingleKey:
            chooseSingleKey(slot);
            break;
        case FunComboKey:
            chooseComboKey(slot);
            break;
        case FunFireKey:
            chooseFireKey(slot);
            break;
        case FunSniper:
            chooseSniper(slot);
            break;
        default:
            m_record->buttons[slot].Fun = fun;
            break;
        }
        refreshLabels();
    }
    emit SelBtnControl(btn, false);
    m_bType = m_iBtn = kNoSelection;
}

void KelBtnWindow::chooseMacro(int slot, int fun) {
    if (fun == FunGunFile && slot == 0) {
        KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                          tr("Left Button Can not be Gun Function."), QString(), this);
        box.exec();
        return;
    }
    if (macroCount() == 0) {
        emit GotoMacroTab(3);
        return;
    }
    ProfileData *record = m_record;
    const ButtonInfo &b = record->buttons[slot];
    const bool bound = b.Fun == fun;
    KelMacroSelect dialog(fun == FunGunFile ? tr("GUNFILE SELECT") : tr("MACRO SELECT"),
                          bound ? b.macroname : QString(), bound ? b.LoopNumber : 1,
                          bound ? b.Res1 : 0, this);
    // Without a chosen file there is nothing to bind.
    if (!accepted(dialog, record, m_record) || dialog.chosenName().isEmpty())
        return;
    ButtonInfo &out = m_record->buttons[slot];
    out.Fun = fun;
    out.LoopNumber = dialog.loopCount();
    out.Res1 = uint8_t(dialog.loopMode());
    out.macroname = dialog.chosenName();
}

void KelBtnWindow::chooseSingleKey(int slot) {
    ProfileData *record = m_record;
    KelSingleKeyWindow dialog(this);
    if (record->buttons[slot].Fun == FunSingleKey)
        dialog.preset(record->buttons[slot].Res1);
    if (!accepted(dialog, record, m_record))
        return;
    ButtonInfo &out = m_record->buttons[slot];
    out.Res1 = uint8_t(dialog.keyCode());
    out.Fun = FunSingleKey;
    qDebug("%d", dialog.keyCode());
}

void KelBtnWindow::chooseComboKey(int slot) {
    ProfileData *record = m_record;
    KelComboKeyWindow dialog(this);
    if (record->buttons[slot].Fun == FunComboKey)
        dialog.preset(record->buttons[slot]);
    if (!accepted(dialog, record, m_record))
        return;
    ButtonInfo &out = m_record->buttons[slot];
    writeCombo(out, dialog.keys());
    out.Fun = FunComboKey;
}

void KelBtnWindow::chooseFireKey(int slot) {
    ProfileData *record = m_record;
    KelFireKeyWindow dialog(this);
    if (record->buttons[slot].Fun == FunFireKey)
        dialog.preset(record->buttons[slot]);
    if (!accepted(dialog, record, m_record))
        return;
    ButtonInfo &out = m_record->buttons[slot];
    writeFireKey(out, dialog.setting());
    out.Fun = FunFireKey;
}

void KelBtnWindow::chooseSniper(int slot) {
    ProfileData *record = m_record;
    KelSniperWindow dialog(m_sensorCode, this);
    if (record->buttons[slot].Fun == FunSniper)
        dialog.preset(record->buttons[slot].Res1);
    if (!accepted(dialog, record, m_record))
        return;
    ButtonInfo &out = m_record->buttons[slot];
    out.Res1 = uint8_t(dialog.value());
    out.Fun = FunSniper;
}
