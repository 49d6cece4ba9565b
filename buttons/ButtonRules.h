// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules behind the key capture dialogs, apart from any window: how a key combination is
// captured and stored, what a fire key is preset to and stores, and the sniper ranges.

#include "MacroFile.h"

#include <QString>
#include <cstdint>

struct ButtonInfo;

// A key combination in five places: Shift, Ctrl, Win, Alt and one other key.
enum ComboPlace { ComboShift, ComboCtrl, ComboWin, ComboAlt, ComboOther, ComboPlaces };

struct ComboKeys {
    // Non-zero where the place is part of the combination (for a modifier: 1 the left-hand
    // key, 2 the right-hand one, 3 both).
    uint8_t iComboKey[ComboPlaces] = {};
    // Per place the left-hand and right-hand key code; the other key's code in [4][0].
    uint8_t iHotKeyCode[ComboPlaces][2] = {};
};

// Follows key presses and releases and keeps the combination held at the last press.
class ComboCapture {
public:
    ComboCapture();
    // Takes the combination stored in a button (its first five steps).
    void preset(const ButtonInfo &button);
    // One key event: a key code and the event's flag bits.
    void keyEvent(int code, unsigned flags);
    const ComboKeys &keys() const { return m_snapshot; }
    QString text() const;

private:
    void clear();
    void hold(int code);
    void takeSnapshot();

    uint8_t m_held[ComboPlaces] = {};
    int m_other = 0;
    bool m_fresh = true;
    ComboKeys m_snapshot;
};

// The names of a combination's keys joined by " + ".
QString comboText(const ComboKeys &keys);
// Stores a combination in a button: all 63 steps cleared, then the presses of its keys in
// the order Shift, Ctrl, Win, Alt, other key and the releases in reverse. Modifiers are
// stored as their left-hand keys.
void writeCombo(ButtonInfo &button, const ComboKeys &keys);

// The fire key: what it shoots, how often and how fast.
enum FireKind { FireLeft, FireRight, FireMiddle, FireKeyboard };
struct FireKeySetting {
    int kind = FireLeft;
    int keyCode = 0; // the key for FireKeyboard
    int times = 3;   // "Times:"
    int delay = 10;  // "Delay:"
};
constexpr int kFireDefaultTimes = 3;
constexpr int kFireDefaultDelay = 10;
constexpr int kFireFieldMax = 255;

// The dialog's preset from a button: its shot kind, times and delay (defaults for zero).
FireKeySetting fireKeyPreset(const ButtonInfo &button);
// The stored shot kind: 0x81, 0x82, 0x84, or the key's HID usage (0 without a key).
uint8_t fireShotKind(const FireKeySetting &setting);
// Stores a fire key in a button; times and delay out of 1..255 take their defaults.
void writeFireKey(ButtonInfo &button, const FireKeySetting &setting);

// The sniper slider of a sensor: its range, and what a preset outside it becomes.
struct SniperRange {
    bool known = false; // false: the slider keeps its own range and the preset
    int min = 0;
    int max = 0;
    int validMin = 0;
    int validMax = 0;
    int fallback = 0;
};
SniperRange sniperRange(int sensorCode);
// The position a stored sniper step starts at.
int sniperPreset(int sensorCode, int stored);

// Copies the steps of a macro or gun file into a button as (map, L, H) = (Map, DataL, DataH)
// and counts them in KeyNumber. A button holds 63 steps: the first 63 are taken, and the
// number of steps left out is returned (0 when all fit).
int bindMacroEvents(ButtonInfo &button, const QVector<MacroEvent> &events);

// The number button index's row shows on the button page: its place among the buttons the
// model lists, from 1; 0 for a button the model does not list.
int buttonRowNumber(int index);
