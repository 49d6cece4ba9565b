// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageConfig.h"

#include "AppConfig.h"
#include "AppDir.h"
#include "IniFile.h"

QString langConfigPath() {
    return configDir() + QStringLiteral("/LangConfig.ini");
}

QString translationPath(const LanguageList &list, int language) {
    if (language < 0 || language >= kMaxLanguages || !isSafeFileName(list.files[language]))
        return QString();
    return AppDir::path() + QStringLiteral("/lang/") + list.files[language] + QStringLiteral(".qm");
}

void readLanguageList(LanguageList &list) {
    const IniFile ini(configIniPath());
    list.count = ini.value(QStringLiteral("FONT_LIST/LANGNUM"), 0).toInt();
    for (int n = 0; n < kMaxLanguages; ++n) {
        list.names[n] = ini.value(QStringLiteral("FONT_LIST/LangName_%1").arg(n)).toString();
        list.files[n] = ini.value(QStringLiteral("FONT_LIST/LangFile_%1").arg(n)).toString();
    }
}

int readLanguageId() {
    const IniFile ini(langConfigPath());
    return ini.value(QStringLiteral("Config/LangID"), 0).toInt();
}

void writeLanguageId(int language) {
    updateIniFile(langConfigPath(),
                  [&](IniFile &ini) { ini.setValue(QStringLiteral("Config/LangID"), language); });
}

FontChoice fontFor(int language) {
    const IniFile ini(configIniPath());
    FontChoice f;
    f.family = ini.value(QStringLiteral("FONT_LIST/FONT_%1").arg(language)).toString();
    f.size = ini.value(QStringLiteral("FONT_LIST/FONT_SIZE_%1").arg(language), 0).toUInt();
    return f;
}
