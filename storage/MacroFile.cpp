// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroFile.h"

#include "AppConfig.h"
#include "IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kGroup = QStringLiteral("Setting/");

QString key(const char *name) {
    return kGroup + QLatin1String(name);
}

QString stepKey(const char *name, int index) {
    return kGroup + QLatin1String(name) + QLatin1Char('_') + QString::number(index);
}

// How many steps the file really holds: the steps 0, 1, ... that have their kind key. A
// count read from the file is cut to this, so a wild count neither hangs nor invents steps.
int storedSteps(const IniFile &ini) {
    int steps = 0;
    while (ini.contains(stepKey("Map", steps)))
        ++steps;
    return steps;
}

int bounded(const IniFile &ini, const QString &key, int low, int high, int otherwise) {
    const QVariant v = ini.value(key);
    bool ok = false;
    const long long n = v.toLongLong(&ok);
    return ok ? int(qBound<long long>(low, n, high)) : otherwise;
}

// The keys and buttons held after the steps, as kind * 256 + key or button.
void trackHeld(QVector<int> &held, const MacroEvent &e) {
    // Keys and buttons are told apart by kind: button mask 4 is not key usage 4.
    const int kind = e.Map & 0x7F;
    if (kind != MacroKindKey && kind != MacroKindButton)
        return;
    const int id = kind * 256 + e.DataL;
    if (e.Map & kMacroPressBit) {
        if (!held.contains(id))
            held.append(id);
    } else {
        held.removeAll(id);
    }
}

bool hasDelayStep(const QVector<MacroEvent> &events, int count) {
    for (int i = 0; i < count; ++i) {
        if (events[i].Map == MacroKindDelay) // as the download tells a delay step
            return true;
    }
    return false;
}

int encodedSteps(const QVector<MacroEvent> &events, int count) {
    return hasDelayStep(events, count) ? count : count + count / 4 + 1;
}
bool writeFile(const QString &name, const MacroFile &file, bool writeSign) {
    const QString path = macroFilePath(name);
    if (path.isEmpty() || !QDir().mkpath(macroDir()))
        return false;
    // The whole file in one atomic write: a macro is its old or its new self, never a mix.
    return updateIniFile(path, [&](IniFile &ini) {
        ini.remove(QStringLiteral("Setting"));
        ini.setValue(key("MacroFilePath"), QFileInfo(path).absoluteFilePath());
        ini.setValue(key("DefaultDelay"), file.DefaultDelay);
        ini.setValue(key("DelayType"), file.DelayType);
        ini.setValue(key("LoopType"), file.LoopType);
        ini.setValue(key("LoopTime"), file.LoopTime);
        ini.setValue(key("Count"), file.events.size());
        for (int i = 0; i < file.events.size(); ++i) {
            const MacroEvent &e = file.events[i];
            ini.setValue(stepKey("Map", i), QString::number(e.Map));
            ini.setValue(stepKey("DataH", i), QString::number(e.DataH));
            ini.setValue(stepKey("DataL", i), QString::number(e.DataL));
        }
        if (writeSign)
            ini.setValue(key("WriteSign"), 1);
    });
}
} // namespace

bool loadMacroFile(const QString &name, MacroFile &file) {
    file = MacroFile();
    const QString path = macroFilePath(name);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    const IniFile ini(path);
    const MacroFile defaults;
    file.DefaultDelay = bounded(ini, key("DefaultDelay"), 10, 65535, defaults.DefaultDelay);
    file.DelayType = bounded(ini, key("DelayType"), 0, 2, defaults.DelayType);
    file.LoopType = bounded(ini, key("LoopType"), 0, 3, defaults.LoopType);
    file.LoopTime = bounded(ini, key("LoopTime"), 1, 255, defaults.LoopTime);
    const int stored = storedSteps(ini);
    const int count = bounded(ini, key("Count"), 0, stored, stored);
    file.events.reserve(count);
    for (int i = 0; i < count; ++i) {
        MacroEvent e;
        e.Map = uint8_t(bounded(ini, stepKey("Map", i), 0, 255, 0));
        e.DataH = uint8_t(bounded(ini, stepKey("DataH", i), 0, 255, 0));
        e.DataL = uint8_t(bounded(ini, stepKey("DataL", i), 0, 255, 0));
        file.events.append(e);
    }
    return true;
}

bool saveMacroFile(const QString &name, const MacroFile &file) {
    return writeFile(name, file, true);
}

bool saveGunFile(const QString &name, const MacroFile &file) {
    return writeFile(name, file, false);
}

bool macroFileExists(const QString &name) {
    const QString path = macroFilePath(name);
    return !path.isEmpty() && QFileInfo::exists(path);
}

int mouseMacroSteps(const QVector<MacroEvent> &events) {
    return encodedSteps(events, events.size());
}

int sendableMacroSteps(const QVector<MacroEvent> &events) {
    if (mouseMacroSteps(events) <= kMouseMacroSteps)
        return events.size();
    QVector<int> held;
    int sendable = 0;
    for (int i = 0; i < events.size() && encodedSteps(events, i + 1) <= kMouseMacroSteps; ++i) {
        trackHeld(held, events[i]);
        if (held.isEmpty())
            sendable = i + 1;
    }
    return sendable;
}

bool hasUnreleasedKeys(const QVector<MacroEvent> &events) {
    QVector<int> held;
    for (const MacroEvent &e : events)
        trackHeld(held, e);
    return !held.isEmpty();
}
