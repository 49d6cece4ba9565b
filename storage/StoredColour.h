#pragma once
// Colours read back from INI files, where Qt keeps them as a serialised QColor.

#include <QColor>
#include <QVariant>

// The colour a setting holds, or an invalid colour when it holds none. A damaged stream can
// give a colour, or a brush with a colour, of a kind QColor does not have, which no QColor
// may be copied from: such a value is taken as no colour.
QColor storedColour(const QVariant &value);
