// SPDX-License-Identifier: GPL-3.0-or-later
// The button page's choices: a function from the menus goes into the current button's slot,
// through its dialog where it has parameters.
#include "AppConfig.h"
#include "ButtonCatalogue.h"
#include "ButtonRules.h"
#include "ButtonsLog.h"
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
#include <algorithm>

Q_LOGGING_CATEGORY(lcButtons, "mousecfg.buttons", QtInfoMsg)

namespace {
// Runs the dialog of a function with parameters for a slot: preset from the slot when it
// already carries the function; on "Yes" the result is stored and the function set, unless
// store tells that nothing was chosen. A record
// shown anew meanwhile (a profile switched on the mouse; loads counts the records shown) is
// not the one the choice was made for, and is left alone.
template <typename Dialog, typename Preset, typename Store>
void runDialog(Dialog &dialog, ProfileData &record, const quint64 &loads, int slot, int fun,
               Preset preset, Store store) {
    const quint64 before = loads;
    if (record.buttons[slot].Fun == fun)
        preset(record.buttons[slot]);
    if (dialog.exec() != QDialog::Accepted || loads != before)
        return;
    // Accepted with nothing chosen (no key pressed), the button keeps its function rather than
    // getting one that does nothing.
    ButtonInfo chosen = record.buttons[slot];
    if (!store(chosen))
        return;
    chosen.Fun = fun;
    record.buttons[slot] = chosen;
}
} // namespace

void KelBtnWindow::chooseFunction(int fun) {
    const int slot = buttonSlot(m_bType, m_iBtn);
    KelPushButton *btn = currentButton();
    if (!m_loaded || slot < 0 || !btn)
        return;
    emit SelBtnControl(btn, true);
    if (!keepsOneClick(m_record, slot, fun)) {
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
            m_record.buttons[slot].Fun = fun;
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
    const quint64 before = m_loads;
    const ButtonInfo &b = m_record.buttons[slot];
    const bool bound = b.Fun == fun;
    KelMacroSelect dialog(fun == FunGunFile ? tr("GUNFILE SELECT") : tr("MACRO SELECT"),
                          bound ? b.macroname : QString(), bound ? b.LoopNumber : 1,
                          bound ? b.Res1 : 0, this);
    // Without a chosen file there is nothing to bind.
    if (dialog.exec() != QDialog::Accepted || m_loads != before || dialog.chosenName().isEmpty())
        return;
    // The button keeps its own copy of the file's steps. A file gone meanwhile (deleted on the
    // MACRO page) binds nothing: the button keeps what it had, steps included.
    MacroFile file;
    if (!loadMacroFile(dialog.chosenName(), file)) {
        KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                          tr("The macro \"%1\" no longer exists.").arg(dialog.chosenName()),
                          QString(), this);
        box.exec();
        return;
    }
    ButtonInfo &out = m_record.buttons[slot];
    out.Fun = fun;
    out.LoopNumber = dialog.loopCount();
    out.Res1 = uint8_t(dialog.loopMode());
    out.macroname = dialog.chosenName();
    const int fits = sendableMacroSteps(file.events);
    QString warning;
    if (bindMacroEvents(out, file.events) > 0)
        warning = tr("THE FILE HAS MORE THAN 63 STEPS: THE BUTTON KEEPS THE FIRST 63.");
    if (fits < file.events.size())
        warning += (warning.isEmpty() ? QString() : QStringLiteral("\n")) +
                   tr("THE MACRO DOES NOT FIT THE MOUSE: IT PLAYS ITS FIRST %1 STEPS.").arg(fits);
    if (!warning.isEmpty()) {
        KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"), warning, QString(), this);
        box.exec();
    }
}

void KelBtnWindow::chooseSingleKey(int slot) {
    KelSingleKeyWindow dialog(this);
    runDialog(
        dialog, m_record, m_loads, slot, FunSingleKey,
        [&](const ButtonInfo &b) { dialog.preset(b.Res1); },
        [&](ButtonInfo &b) {
            qCDebug(lcButtons, "%d", dialog.keyCode());
            b.Res1 = uint8_t(dialog.keyCode());
            return dialog.keyCode() != 0;
        });
}

void KelBtnWindow::chooseComboKey(int slot) {
    KelComboKeyWindow dialog(this);
    runDialog(
        dialog, m_record, m_loads, slot, FunComboKey,
        [&](const ButtonInfo &b) { dialog.preset(b); },
        [&](ButtonInfo &b) {
            const ComboKeys &keys = dialog.keys();
            writeCombo(b, keys);
            return std::any_of(std::begin(keys.iComboKey), std::end(keys.iComboKey),
                               [](uint8_t place) { return place != 0; });
        });
}

void KelBtnWindow::chooseFireKey(int slot) {
    KelFireKeyWindow dialog(this);
    runDialog(
        dialog, m_record, m_loads, slot, FunFireKey, [&](const ButtonInfo &b) { dialog.preset(b); },
        [&](ButtonInfo &b) {
            const FireKeySetting s = dialog.setting();
            writeFireKey(b, s);
            // "Keyboard Key" with no key pressed would fire left clicks instead.
            return s.kind != FireKeyboard || s.keyCode != 0;
        });
}

void KelBtnWindow::chooseSniper(int slot) {
    KelSniperWindow dialog(m_sensorCode, this);
    runDialog(
        dialog, m_record, m_loads, slot, FunSniper,
        [&](const ButtonInfo &b) { dialog.preset(b.Res1); },
        [&](ButtonInfo &b) {
            b.Res1 = uint8_t(dialog.value());
            return true;
        });
}
