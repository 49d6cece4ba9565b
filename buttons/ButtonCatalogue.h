// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The functions a button can carry: the code stored in ButtonInfo::Fun, the text the menus
// and the button list show for it, and the menu that offers it. Also the addressing of the
// 42 button slots by group and index, and the rule that keeps a left click on the mouse.

#include <QString>
#include <QVector>

struct ButtonInfo;
struct ProfileData;

// Function codes with parameters of their own, or a meaning the page acts on.
enum FunctionCode : int {
    FunLeft = 1,
    FunSingleKey = 6,
    FunComboKey = 7,
    FunFireKey = 12,
    FunScrollUp = 52,
    FunScrollDown = 53,
    FunLedSwitch = 54,
    FunSniper = 55,
    FunMacroManager = 200,
    FunGunFile = 510,
};

// Where the main menu offers a function.
enum CatalogueMenu {
    MenuTop,     // an item of the main menu itself
    MenuBasic,   // "Basic"
    MenuWindows, // "Windows"
    MenuAdvance, // "Advance"
    MenuMedia,   // "Media"
    MenuDpi,     // "DPI"
    MenuPolling, // "Polling Rate"
    MenuProfile, // "Profile Menu"
    MenuNone,    // the wheel menu only
};
constexpr int kSubMenuCount = 7; // MenuBasic .. MenuProfile

struct CatalogueEntry {
    int fun;
    const char *text; // source text, translated in the context "ButtonCatalogue"
    CatalogueMenu menu;
};

// Every function in the order the menus list them.
const QVector<CatalogueEntry> &functionCatalogue();
// The entry of a code, or nullptr for a code the page does not produce.
const CatalogueEntry *catalogueEntry(int fun);
// The functions of the wheel menu, in its order.
const QVector<int> &wheelMenuFunctions();
// The translated title of a submenu (MenuBasic .. MenuProfile).
QString subMenuTitle(CatalogueMenu menu);
// The translated text of a catalogue entry.
QString functionText(const CatalogueEntry &entry);

// What a button shows for its function: the catalogue text, the bound file's name for a
// macro or gun file, nothing for an unknown code. Scrolling reads only on a wheel button.
QString functionLabel(const ButtonInfo &button, bool wheelButton);

// Button groups of the page: the main buttons, a second set of twenty, the wheel.
constexpr int kGroupButtons = 20;
constexpr int kWheelButtons = 2;
constexpr int kNoSelection = 255;
// The slot 0..41 of a group and index, or -1 when they name no slot.
int buttonSlot(int bType, int iBtn);

// The one-click rule: a left click must stay on some button. False when giving `fun` to
// `slot` would take the last left click away.
bool keepsOneClick(const ProfileData &record, int slot, int fun);
