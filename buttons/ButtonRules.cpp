// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonRules.h"

#include "KeyTable.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"

#include <QStringList>

namespace {
// Left-hand and right-hand key codes of the four modifiers, in place order.
const uint8_t kModifierCodes[ComboOther][2] = {{42, 54}, {29, 238}, {91, 92}, {56, 239}};

constexpr uint8_t kLeftHand = 1;
constexpr uint8_t kRightHand = 2;
constexpr uint8_t kComboStepL = 0x05;
constexpr uint8_t kComboPress = 0x80;

// The modifier place of a key code and which hand, or -1.
int modifierPlace(int code, uint8_t &hand) {
    for (int place = 0; place < ComboOther; ++place) {
        for (int side = 0; side < 2; ++side) {
            if (kModifierCodes[place][side] == code) {
                hand = side == 0 ? kLeftHand : kRightHand;
                return place;
            }
        }
    }
    return -1;
}

int usageOf(int code) {
    int usage = 0;
    keyCodeToUsage(code, usage);
    return usage;
}

int fieldOrDefault(int value, int fallback) {
    if (value <= 0)
        return fallback;
    return value > kFireFieldMax ? kFireFieldMax : value;
}

const uint8_t kShotKinds[FireKeyboard] = {0x81, 0x82, 0x84};

struct SniperRow {
    int sensor;
    SniperRange range;
};
const SniperRow kSniperRows[] = {
    {3104, {true, 14, 26, 15, 26, 14}}, {3212, {true, 16, 32, 17, 32, 16}},
    {3389, {true, 2, 20, 2, 20, 6}},    {3325, {true, 1, 10, 1, 10, 3}},
    {3327, {true, 1, 10, 1, 10, 3}},    {3333, {true, 2, 10, 1, 10, 3}},
    {3335, {true, 1, 10, 1, 10, 3}},    {3360, {true, 1, 10, 1, 10, 3}},
};
} // namespace

ComboCapture::ComboCapture() {
    for (int place = 0; place < ComboOther; ++place) {
        m_snapshot.iHotKeyCode[place][0] = kModifierCodes[place][0];
        m_snapshot.iHotKeyCode[place][1] = kModifierCodes[place][1];
    }
}

void ComboCapture::clear() {
    for (uint8_t &h : m_held)
        h = 0;
    m_other = 0;
}

void ComboCapture::hold(int code) {
    uint8_t hand = 0;
    const int place = modifierPlace(code, hand);
    if (place >= 0) {
        m_held[place] |= hand;
    } else {
        m_held[ComboOther] = 1;
        m_other = code;
    }
}

void ComboCapture::preset(const ButtonInfo &button) {
    clear();
    for (int i = 0; i < ComboPlaces; ++i) {
        int code = 0;
        if (button.keyInfo[i].map != 0 && usageToKeyCode(button.keyInfo[i].map, code))
            hold(code);
    }
    takeSnapshot();
}

// A press sets the key's hand in its place; a release clears it again, so a release whose
// press came before the dialog opened cannot leave a key behind. A release of an ordinary
// key ends the other key only when it is that key.
void ComboCapture::keyEvent(int code, unsigned flags) {
    if (m_fresh) {
        clear();
        m_fresh = false;
    }
    if ((flags & KeyFlagReleased) == 0) {
        hold(code);
        takeSnapshot();
        return;
    }
    uint8_t hand = 0;
    const int place = modifierPlace(code, hand);
    if (place >= 0) {
        m_held[place] &= uint8_t(~hand);
    } else if (code == m_other) {
        m_held[ComboOther] = 0;
    }
}

void ComboCapture::takeSnapshot() {
    for (int place = 0; place < ComboPlaces; ++place)
        m_snapshot.iComboKey[place] = m_held[place];
    m_snapshot.iHotKeyCode[ComboOther][0] = m_held[ComboOther] ? uint8_t(m_other) : 0;
}

QString ComboCapture::text() const {
    return comboText(m_snapshot);
}

QString comboText(const ComboKeys &keys) {
    QStringList names;
    for (int place = 0; place < ComboOther; ++place) {
        const uint8_t state = keys.iComboKey[place];
        if (state != 0)
            names << keyName(kModifierCodes[place][state > kRightHand ? 1 : 0]);
    }
    if (keys.iComboKey[ComboOther] != 0)
        names << keyName(keys.iHotKeyCode[ComboOther][0]);
    return names.join(QStringLiteral(" + "));
}

void writeCombo(ButtonInfo &button, const ComboKeys &keys) {
    for (KeyInfo &k : button.keyInfo)
        k = KeyInfo();
    int codes[ComboPlaces];
    int n = 0;
    for (int place = 0; place < ComboOther; ++place) {
        if (keys.iComboKey[place] != 0)
            codes[n++] = kModifierCodes[place][0];
    }
    if (keys.iComboKey[ComboOther] != 0)
        codes[n++] = keys.iHotKeyCode[ComboOther][0];
    // A combination sends its keys down in order and lets them up in reverse.
    for (int i = 0; i < n; ++i) {
        const uint8_t usage = uint8_t(usageOf(codes[i]));
        button.keyInfo[i] = {usage, kComboStepL, kComboPress};
        button.keyInfo[2 * n - 1 - i] = {usage, kComboStepL, 0};
    }
}

FireKeySetting fireKeyPreset(const ButtonInfo &button) {
    FireKeySetting s;
    switch (button.Res1) {
    case 0:
    case 0x81:
        s.kind = FireLeft;
        break;
    case 0x82:
        s.kind = FireRight;
        break;
    case 0x84:
        s.kind = FireMiddle;
        break;
    default:
        s.kind = FireKeyboard;
        usageToKeyCode(button.Res1, s.keyCode);
        break;
    }
    s.times = fieldOrDefault(button.LoopNumber, kFireDefaultTimes);
    s.delay = fieldOrDefault(button.KeyNumber, kFireDefaultDelay);
    return s;
}

uint8_t fireShotKind(const FireKeySetting &setting) {
    if (setting.kind >= FireLeft && setting.kind < FireKeyboard)
        return kShotKinds[setting.kind];
    return uint8_t(usageOf(setting.keyCode));
}

void writeFireKey(ButtonInfo &button, const FireKeySetting &setting) {
    button.Res1 = fireShotKind(setting);
    button.LoopNumber = fieldOrDefault(setting.times, kFireDefaultTimes);
    button.KeyNumber = fieldOrDefault(setting.delay, kFireDefaultDelay);
}

SniperRange sniperRange(int sensorCode) {
    for (const SniperRow &row : kSniperRows) {
        if (row.sensor == sensorCode)
            return row.range;
    }
    return SniperRange();
}

int sniperPreset(int sensorCode, int stored) {
    const SniperRange r = sniperRange(sensorCode);
    if (!r.known)
        return stored;
    return stored >= r.validMin && stored <= r.validMax ? stored : r.fallback;
}

int bindMacroEvents(ButtonInfo &button, const QVector<MacroEvent> &events) {
    const int count = qMin(int(events.size()), kKeyStepCount);
    for (int j = 0; j < count; ++j)
        button.keyInfo[j] = {events[j].Map, events[j].DataL, events[j].DataH};
    button.KeyNumber = count;
    return int(events.size()) - count;
}

int buttonRowNumber(int index) {
    int8_t matrix[kDescriptorButtonKeys] = {};
    const int n = qMin(readButtonMatrix2(matrix), kDescriptorButtonKeys);
    if (index < 0 || index >= n || matrix[index] == -1)
        return 0;
    int number = 0;
    for (int i = 0; i <= index; ++i)
        number += matrix[i] == -1 ? 0 : 1;
    return number;
}
