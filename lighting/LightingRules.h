// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting page's rules, free of any window: which effects the menu offers and in what
// order, which rows an effect shows, which profile's record the page shows, and how the
// colour editor reads and writes hexadecimal colours.

#include <QColor>
#include <QString>
#include <array>

// The effects the menu offers, in the menu's order. The mouse has no slot for effects 5
// to 8, so they are never offered.
constexpr std::array<int, 10> kEffectMenuOrder = {1, 2, 3, 4, 9, 11, 10, 12, 13, 0};

// The rows of the page's left column an effect uses.
struct EffectControls {
    bool brightness = false;
    bool speed = false;
    bool colour = false;
    // The speed row moves up into the first row (effects with speed but no brightness).
    bool speedInFirstRow = false;
};

// The rows of effect 0..13; an effect number the mouse does not know has none.
EffectControls effectControls(int effect);

// The effect's name as written in the source (translated in the context "KelColorWindow"),
// or nullptr for a number that names no effect.
const char *effectSourceText(int effect);
// The effect's name in the current language; empty for a number that names no effect.
QString effectText(int effect);

// The record whose effect the page shows: the first profile's for model 7350, the active
// profile's for every other model.
int lightingRecordIndex(const QString &model, int activeIndex);

// Reads a colour typed in the colour editor: six hexadecimal digits are red, green and
// blue pairs; three digits are the short form, each digit doubled ("f0a" is ff00aa).
// Other lengths give false and leave the colour alone.
bool parseHexColour(const QString &text, QColor &colour);
// The text a finished edit becomes: three digits are the short form written out, any other
// shorter text gets leading zeros up to six digits ("7" becomes "000007").
QString finishedHexText(const QString &text);
// Six lower-case digits, red, green and blue.
QString hexText(const QColor &colour);
