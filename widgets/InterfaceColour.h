// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The interface colour: one of a fixed table of accent colours, chosen by "Config/GColorID"
// of Config.ini. It draws slider chunks, selection highlights, the battery chunk and the
// edges of the message box.

#include <QColor>

constexpr int kInterfaceColourCount = 8;

// Entry id of the table; an id outside 0..7 gives entry 0.
QColor interfaceColour(int id);
// The entry chosen in Config.ini now (read again only when the file has changed).
QColor interfaceColour();
