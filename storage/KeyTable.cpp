// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyTable.h"

#include <atomic>

namespace {
struct KeyEntry {
    uint8_t code;
    const char *name;
    const char *french; // nullptr: same as name
    int usage;          // -1: no HID usage
};

// clang-format off
const KeyEntry kKeys[] = {
    {1, "Esc", "Echap", 41},          {2, "1", "&", 30},
    {3, "2", "\u00e9", 31},           {4, "3", "\"", 32},
    {5, "4", "'", 33},                {6, "5", "(", 34},
    {7, "6", "-", 35},                {8, "7", "\u00e8", 36},
    {9, "8", "_", 37},                {10, "9", "\u00e7", 38},
    {11, "0", "\u00e0", 39},          {12, "-", ")", 45},
    {13, "=", nullptr, 46},           {14, "Backspace", "Ret.arr", 42},
    {15, "Tab", nullptr, 43},         {16, "Q", "a", 20},
    {17, "W", "z", 26},               {18, "E", "e", 8},
    {19, "R", "r", 21},               {20, "T", "t", 23},
    {21, "Y", "y", 28},               {22, "U", "u", 24},
    {23, "I", "i", 12},               {24, "O", "o", 18},
    {25, "P", "p", 19},               {26, "[", "^", 47},
    {27, "]", "$", 48},               {28, "Enter", "Entree", 40},
    {29, "LCtr", "LCtrl", 224},       {30, "A", "q", 4},
    {31, "S", "s", 22},               {32, "D", "d", 7},
    {33, "F", "f", 9},                {34, "G", "g", 10},
    {35, "H", "h", 11},               {36, "J", "j", 13},
    {37, "K", "k", 14},               {38, "L", "l", 15},
    {39, ";", "m", 51},               {40, "'", "\u00f9", 52},
    {41, "`", "\u00b2", 53},          {42, "LShift", nullptr, 225},
    {43, "\\", "*", 49},              {44, "Z", "w", 29},
    {45, "X", "x", 27},               {46, "C", "c", 6},
    {47, "V", "v", 25},               {48, "B", "b", 5},
    {49, "N", "n", 17},               {50, "M", ",", 16},
    {51, ",", ";", 54},               {52, ".", ":", 55},
    {53, "/", "!", 56},               {54, "RShift", nullptr, 229},
    {55, "Print Screen", nullptr, 70},{56, "LAlt", nullptr, 226},
    {57, "Space", "espace", 44},      {58, "CapsLock", "Verr.maj", 57},
    {59, "F1", nullptr, 58},          {60, "F2", nullptr, 59},
    {61, "F3", nullptr, 60},          {62, "F4", nullptr, 61},
    {63, "F5", nullptr, 62},          {64, "F6", nullptr, 63},
    {65, "F7", nullptr, 64},          {66, "F8", nullptr, 65},
    {67, "F9", nullptr, 66},          {68, "F10", nullptr, 67},
    {69, "Pause Break", nullptr, 72}, {70, "Scroll Lock", nullptr, 71},
    {71, "Home", nullptr, 74},        {72, "Up", nullptr, 82},
    {73, "Page Up", nullptr, 75},     {74, "Num -", nullptr, 86},
    {75, "Left", nullptr, 80},        {76, "Num 5", nullptr, 93},
    {77, "Right", nullptr, 79},       {78, "Num +", nullptr, 87},
    {79, "End", nullptr, 77},         {80, "Down", nullptr, 81},
    {81, "Page Down", nullptr, 78},   {82, "Insert", nullptr, 73},
    {83, "Delete", nullptr, 76},      {86, "<>", "<", 100},
    {87, "F11", nullptr, 68},         {88, "F12", nullptr, 69},
    {91, "LWindows", nullptr, 227},   {92, "RWindows", nullptr, 231},
    {93, "App", nullptr, 101},        {224, "Num De", "Num Del", 99},
    {225, "Num Lock", nullptr, 83},   {226, "Num /", nullptr, 84},
    {227, "Num *", nullptr, 85},      {228, "Num 9", nullptr, 97},
    {229, "Num Enter", nullptr, 88},  {230, "Num 1", nullptr, 89},
    {231, "Num 2", nullptr, 90},      {232, "Num 3", nullptr, 91},
    {233, "Num 4", nullptr, 92},      {234, "Num 6", nullptr, 94},
    {235, "Num 7", nullptr, 95},      {236, "Num 8", nullptr, 96},
    {237, "Num 0", nullptr, 98},      {238, "RCtr", "RCtrl", 228},
    {239, "RAlt", nullptr, 230},      {240, "Left Button", nullptr, -1},
    {241, "Right Button", nullptr, -1},{242, "Middle Button", nullptr, -1},
};
// clang-format on

std::atomic<int> g_french{-1};
std::atomic<int> g_language{0};

const KeyEntry *findKey(int code) {
    for (const KeyEntry &k : kKeys) {
        if (k.code == code)
            return &k;
    }
    return nullptr;
}
} // namespace

QString keyName(int code) {
    const KeyEntry *k = findKey(code);
    if (!k)
        return QString();
    const int french = g_french.load();
    if (french != -1 && french == g_language.load() && k->french)
        return QString::fromUtf8(k->french);
    return QString::fromUtf8(k->name);
}

bool keyCodeToUsage(int code, int &usage) {
    bool found = false;
    for (const KeyEntry &k : kKeys) {
        if (k.usage >= 0 && k.code == code) {
            usage = k.usage;
            found = true;
        }
    }
    return found;
}

bool usageToKeyCode(int usage, int &code) {
    bool found = false;
    for (const KeyEntry &k : kKeys) {
        if (k.usage >= 0 && k.usage == usage) {
            code = k.code;
            found = true;
        }
    }
    return found;
}

int keyCodeFromEvent(int scanCode, unsigned flags) {
    // Whether Alt is held says nothing about which key this is: Alt with keypad 1 is not End,
    // Alt with keypad Enter is not Enter, Alt with right Ctrl is not left Ctrl.
    flags &= unsigned(KeyFlagExtended | KeyFlagReleased);
    const bool extendedOnly = flags == 1 || flags == 129;
    // Only the release bit may be set for the keypad forms.
    const bool plain = (flags & ~unsigned(KeyFlagReleased)) == 0;
    switch (scanCode) {
    case 28:
        return extendedOnly ? 229 : scanCode;
    case 29:
        return extendedOnly ? 238 : scanCode;
    case 53:
        return extendedOnly ? 226 : scanCode;
    case 69:
        return extendedOnly ? 225 : scanCode;
    case 56:
        return (extendedOnly || flags == 33) ? 239 : scanCode;
    case 55:
        return plain ? 227 : scanCode;
    case 71:
        return plain ? 235 : scanCode;
    case 72:
        return plain ? 236 : scanCode;
    case 73:
        return plain ? 228 : scanCode;
    case 75:
        return plain ? 233 : scanCode;
    case 77:
        return plain ? 234 : scanCode;
    case 79:
        return plain ? 230 : scanCode;
    case 80:
        return plain ? 231 : scanCode;
    case 81:
        return plain ? 232 : scanCode;
    case 82:
        return plain ? 237 : scanCode;
    case 83:
        return plain ? 224 : scanCode;
    default:
        return scanCode;
    }
}

void setFrenchLanguage(int language) {
    g_french.store(language);
}
int frenchLanguage() {
    return g_french.load();
}
void setCurrentLanguage(int language) {
    g_language.store(language);
}
int currentLanguage() {
    return g_language.load();
}
