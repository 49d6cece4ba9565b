// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonCatalogue.h"

#include "ModelDescriptor.h"
#include "ProfileData.h"

#include <QCoreApplication>
#include <algorithm>

namespace {
const char *const kContext = "ButtonCatalogue";

// clang-format off
const QVector<CatalogueEntry> kCatalogue = {
    {1, QT_TRANSLATE_NOOP("ButtonCatalogue", "Left"), MenuTop},
    {2, QT_TRANSLATE_NOOP("ButtonCatalogue", "Right"), MenuTop},
    {3, QT_TRANSLATE_NOOP("ButtonCatalogue", "Middle"), MenuTop},
    {4, QT_TRANSLATE_NOOP("ButtonCatalogue", "Forward"), MenuTop},
    {5, QT_TRANSLATE_NOOP("ButtonCatalogue", "Back"), MenuTop},
    {17, QT_TRANSLATE_NOOP("ButtonCatalogue", "Cut"), MenuBasic},
    {18, QT_TRANSLATE_NOOP("ButtonCatalogue", "Copy"), MenuBasic},
    {19, QT_TRANSLATE_NOOP("ButtonCatalogue", "Paste"), MenuBasic},
    {20, QT_TRANSLATE_NOOP("ButtonCatalogue", "All"), MenuBasic},
    {21, QT_TRANSLATE_NOOP("ButtonCatalogue", "Find"), MenuBasic},
    {22, QT_TRANSLATE_NOOP("ButtonCatalogue", "New"), MenuBasic},
    {23, QT_TRANSLATE_NOOP("ButtonCatalogue", "Print"), MenuBasic},
    {24, QT_TRANSLATE_NOOP("ButtonCatalogue", "Save"), MenuBasic},
    {25, QT_TRANSLATE_NOOP("ButtonCatalogue", "Switch Window"), MenuWindows},
    {26, QT_TRANSLATE_NOOP("ButtonCatalogue", "Close Window"), MenuWindows},
    {27, QT_TRANSLATE_NOOP("ButtonCatalogue", "My Computer"), MenuWindows},
    {28, QT_TRANSLATE_NOOP("ButtonCatalogue", "Run"), MenuWindows},
    {29, QT_TRANSLATE_NOOP("ButtonCatalogue", "Show Desktop"), MenuWindows},
    {30, QT_TRANSLATE_NOOP("ButtonCatalogue", "Lock PC"), MenuWindows},
    {31, QT_TRANSLATE_NOOP("ButtonCatalogue", "Browser Home"), MenuWindows},
    {32, QT_TRANSLATE_NOOP("ButtonCatalogue", "Browser Backward"), MenuWindows},
    {33, QT_TRANSLATE_NOOP("ButtonCatalogue", "Browser Forward"), MenuWindows},
    {34, QT_TRANSLATE_NOOP("ButtonCatalogue", "Browser Stop"), MenuWindows},
    {35, QT_TRANSLATE_NOOP("ButtonCatalogue", "Browser Refresh"), MenuWindows},
    {36, QT_TRANSLATE_NOOP("ButtonCatalogue", "Browser Search"), MenuWindows},
    {37, QT_TRANSLATE_NOOP("ButtonCatalogue", "Browser Favorite"), MenuWindows},
    {38, QT_TRANSLATE_NOOP("ButtonCatalogue", "Mail"), MenuWindows},
    {62, QT_TRANSLATE_NOOP("ButtonCatalogue", "Boss Key"), MenuWindows},
    {6, QT_TRANSLATE_NOOP("ButtonCatalogue", "SINGLE KEY"), MenuAdvance},
    {7, QT_TRANSLATE_NOOP("ButtonCatalogue", "COMBO KEY"), MenuAdvance},
    {12, QT_TRANSLATE_NOOP("ButtonCatalogue", "FIRE KEY"), MenuAdvance},
    {39, QT_TRANSLATE_NOOP("ButtonCatalogue", "Play/Pause"), MenuMedia},
    {40, QT_TRANSLATE_NOOP("ButtonCatalogue", "Stop"), MenuMedia},
    {41, QT_TRANSLATE_NOOP("ButtonCatalogue", "Previous Track"), MenuMedia},
    {42, QT_TRANSLATE_NOOP("ButtonCatalogue", "Next Track"), MenuMedia},
    {43, QT_TRANSLATE_NOOP("ButtonCatalogue", "Volume Up"), MenuMedia},
    {44, QT_TRANSLATE_NOOP("ButtonCatalogue", "Volume Down"), MenuMedia},
    {45, QT_TRANSLATE_NOOP("ButtonCatalogue", "Mute"), MenuMedia},
    {46, QT_TRANSLATE_NOOP("ButtonCatalogue", "Media Player"), MenuMedia},
    {47, QT_TRANSLATE_NOOP("ButtonCatalogue", "DPI Switch"), MenuDpi},
    {48, QT_TRANSLATE_NOOP("ButtonCatalogue", "DPI +"), MenuDpi},
    {49, QT_TRANSLATE_NOOP("ButtonCatalogue", "DPI -"), MenuDpi},
    {63, QT_TRANSLATE_NOOP("ButtonCatalogue", "Rate Switch"), MenuPolling},
    {50, QT_TRANSLATE_NOOP("ButtonCatalogue", "Rate +"), MenuPolling},
    {51, QT_TRANSLATE_NOOP("ButtonCatalogue", "Rate -"), MenuPolling},
    {57, QT_TRANSLATE_NOOP("ButtonCatalogue", "Profile +"), MenuProfile},
    {58, QT_TRANSLATE_NOOP("ButtonCatalogue", "Profile -"), MenuProfile},
    {59, QT_TRANSLATE_NOOP("ButtonCatalogue", "Profile Switch"), MenuProfile},
    {55, QT_TRANSLATE_NOOP("ButtonCatalogue", "SNIPER"), MenuTop},
    {200, QT_TRANSLATE_NOOP("ButtonCatalogue", "Macro Manager"), MenuTop},
    {510, QT_TRANSLATE_NOOP("ButtonCatalogue", "GunFile Manager"), MenuTop},
    {54, QT_TRANSLATE_NOOP("ButtonCatalogue", "Led Switch"), MenuTop},
    {16, QT_TRANSLATE_NOOP("ButtonCatalogue", "Button Off"), MenuTop},
    {52, QT_TRANSLATE_NOOP("ButtonCatalogue", "Scroll Up"), MenuNone},
    {53, QT_TRANSLATE_NOOP("ButtonCatalogue", "Scroll Down"), MenuNone},
};
// clang-format on

const QVector<int> kWheelMenu = {52, 53, 43, 44, 1, 2, 3, 4, 5, 6, 7};

const char *const kSubMenuTitles[kSubMenuCount] = {
    QT_TRANSLATE_NOOP("ButtonCatalogue", "Basic"),
    QT_TRANSLATE_NOOP("ButtonCatalogue", "Windows"),
    QT_TRANSLATE_NOOP("ButtonCatalogue", "Advance"),
    QT_TRANSLATE_NOOP("ButtonCatalogue", "Media"),
    QT_TRANSLATE_NOOP("ButtonCatalogue", "DPI"),
    QT_TRANSLATE_NOOP("ButtonCatalogue", "Polling Rate"),
    QT_TRANSLATE_NOOP("ButtonCatalogue", "Profile Menu"),
};
} // namespace

const QVector<CatalogueEntry> &functionCatalogue() {
    return kCatalogue;
}

const CatalogueEntry *catalogueEntry(int fun) {
    for (const CatalogueEntry &e : kCatalogue) {
        if (e.fun == fun)
            return &e;
    }
    return nullptr;
}

const QVector<int> &wheelMenuFunctions() {
    return kWheelMenu;
}

QString subMenuTitle(CatalogueMenu menu) {
    const int index = int(menu) - int(MenuBasic);
    if (index < 0 || index >= kSubMenuCount)
        return QString();
    return QCoreApplication::translate(kContext, kSubMenuTitles[index]);
}

QString functionText(const CatalogueEntry &entry) {
    return QCoreApplication::translate(kContext, entry.text);
}

QString functionLabel(const ButtonInfo &button, bool wheelButton) {
    if (button.Fun == FunMacroManager || button.Fun == FunGunFile)
        return button.macroname;
    if ((button.Fun == FunScrollUp || button.Fun == FunScrollDown) && !wheelButton)
        return QString();
    const CatalogueEntry *entry = catalogueEntry(button.Fun);
    return entry ? functionText(*entry) : QString();
}

int buttonSlot(int bType, int iBtn) {
    switch (bType) {
    case 0:
    case 1:
        return iBtn >= 0 && iBtn < kGroupButtons ? iBtn + kGroupButtons * bType : -1;
    case 2:
        return iBtn >= 0 && iBtn < kWheelButtons ? kWheelUpSlot + iBtn : -1;
    default:
        return -1;
    }
}

bool keepsOneClick(const ProfileData &record, int slot, int fun) {
    if (slot < 0 || slot >= kButtonSlotCount || record.buttons[slot].Fun != FunLeft ||
        fun == FunLeft)
        return true;
    // Only a button the mouse is sent counts: a left click kept in a slot of a button the model
    // lacks (from a file) would leave the mouse without one.
    const int count =
        buttonCount() > 0 ? std::min(buttonCount(), kDescriptorButtonKeys) : kButtonSlotCount;
    for (int s = 0; s < kButtonSlotCount; ++s) {
        const bool sent = s < count || s == kWheelUpSlot || s == kWheelDownSlot;
        if (s != slot && sent && record.buttons[s].Fun == FunLeft)
            return true;
    }
    return false;
}
