// SPDX-License-Identifier: GPL-3.0-or-later
#include "InterfaceColour.h"

#include "AppConfig.h"
#include "FileStamp.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

struct Rgb {
    int r, g, b;
};

constexpr Rgb kTable[kInterfaceColourCount] = {
    {0, 190, 255},   // cyan
    {255, 45, 85},   // red
    {255, 140, 0},   // orange
    {0, 220, 120},   // green
    {170, 90, 255},  // purple
    {255, 205, 0},   // yellow
    {255, 70, 180},  // pink
    {235, 235, 235}, // white
};

QMutex g_mutex;
FileStamp g_stamp;
bool g_valid = false;
int g_id = 0;

} // namespace

QColor interfaceColour(int id) {
    if (id < 0 || id >= kInterfaceColourCount)
        id = 0;
    return QColor(kTable[id].r, kTable[id].g, kTable[id].b);
}

QColor interfaceColour() {
    QMutexLocker lock(&g_mutex);
    const FileStamp now = FileStamp::of(configIniPath());
    if (!g_valid || now != g_stamp) {
        g_id = accentColourId();
        g_stamp = now;
        g_valid = true;
    }
    return interfaceColour(g_id);
}
