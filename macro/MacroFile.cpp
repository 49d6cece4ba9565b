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

// How many steps the file really holds: one past the highest numbered Map key. A count
// read from the file is cut to this, so a wild count neither hangs nor invents steps.
int storedSteps(const IniFile &ini) {
    const QStringList keys = ini.childKeys(QStringLiteral("Setting"));
    int steps = 0;
    for (const QString &k : keys) {
        if (!k.startsWith(QLatin1String("Map_")))
            continue;
        bool ok = false;
        const int index = k.mid(4).toInt(&ok);
        if (ok && index >= 0 && index >= steps)
            steps = index + 1;
    }
    return steps;
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
    file.DefaultDelay = ini.value(key("DefaultDelay"), 0).toInt();
    file.DelayType = ini.value(key("DelayType"), 0).toInt();
    file.LoopType = ini.value(key("LoopType"), 0).toInt();
    file.LoopTime = ini.value(key("LoopTime"), 0).toInt();
    const int count = qBound(0, ini.value(key("Count"), 0).toInt(), storedSteps(ini));
    file.events.reserve(count);
    for (int i = 0; i < count; ++i) {
        MacroEvent e;
        e.Map = uint8_t(ini.value(stepKey("Map", i), 0).toInt());
        e.DataH = uint8_t(ini.value(stepKey("DataH", i), 0).toInt());
        e.DataL = uint8_t(ini.value(stepKey("DataL", i), 0).toInt());
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
