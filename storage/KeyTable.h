// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key codes: one 8-bit code space for every key the program captures, shows and sends.
// Codes 1..93 are set-1 scan codes (the extended navigation keys share their twin's code),
// 224..237 the keypad keys, 238/239 right Ctrl/Alt, 240..242 the mouse buttons.

#include <QString>
#include <cstdint>

constexpr int kKeyUsageCount = 105;

// Flag bits of a low-level keyboard event.
enum KeyEventFlag : unsigned {
    KeyFlagExtended = 0x01,
    KeyFlagAltDown = 0x20,
    KeyFlagReleased = 0x80,
};

// The display name of a key code in the table in force (French names while the
// descriptor's "french" language is the current language); empty for unknown codes.
QString keyName(int code);

// HID keyboard usage (page 7) of a key code; false, leaving usage as it was, when none.
bool keyCodeToUsage(int code, int &usage);
bool usageToKeyCode(int usage, int &code);

// The key code of a low-level keyboard event (scan code and flag bits; the Alt bit is not
// looked at).
int keyCodeFromEvent(int scanCode, unsigned flags);

// The language number that shows French key names (-1: never); read once from the
// descriptor when the main window is built.
void setFrenchLanguage(int language);
int frenchLanguage();

// The process-wide current language number (index into the configured language list).
void setCurrentLanguage(int language);
int currentLanguage();
