#include "LanguageConfig.h"

#include "AppConfig.h"
#include "AppDir.h"

#include <QSettings>

QString langConfigPath() {
    return configDir() + QStringLiteral("/LangConfig.ini");
}

QString translationPath(const LanguageList &list, int language) {
    if (language < 0 || language >= kMaxLanguages || !isSafeFileName(list.files[language]))
        return QString();
    return AppDir::path() + QStringLiteral("/lang/") + list.files[language] + QStringLiteral(".qm");
}

void readLanguageList(LanguageList &list) {
    QSettings ini(configIniPath(), QSettings::IniFormat);
    list.count = ini.value(QStringLiteral("FONT_LIST/LANGNUM"), 0).toInt();
    for (int n = 0; n < kMaxLanguages; ++n) {
        list.names[n] = ini.value(QStringLiteral("FONT_LIST/LangName_%1").arg(n)).toString();
        list.files[n] = ini.value(QStringLiteral("FONT_LIST/LangFile_%1").arg(n)).toString();
    }
}

int readLanguageId() {
    QSettings ini(langConfigPath(), QSettings::IniFormat);
    return ini.value(QStringLiteral("Config/LangID"), 0).toInt();
}

void writeLanguageId(int language) {
    QSettings ini(langConfigPath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Config/LangID"), language);
}

FontChoice fontFor(int language) {
    QSettings ini(configIniPath(), QSettings::IniFormat);
    FontChoice f;
    f.family = ini.value(QStringLiteral("FONT_LIST/FONT_%1").arg(language)).toString();
    f.size = ini.value(QStringLiteral("FONT_LIST/FONT_SIZE_%1").arg(language), 0).toUInt();
    return f;
}
