// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppConfig.h"

#include "AppDir.h"
#include "FileSet.h"
#include "IniFile.h"
#include "ProfileData.h"
#include "StorageLog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

Q_LOGGING_CATEGORY(lcStorage, "mousecfg.storage", QtInfoMsg)

namespace {
const QString kDiffKey = QStringLiteral("Config/Diff");

QVariant configValue(const QString &key, const QVariant &def = QVariant()) {
    return IniFile(configIniPath()).value(key, def);
}

// One atomic rewrite of Config.ini; none when the value is already stored. False when it
// could not be written.
bool setConfigValue(const QString &key, const QVariant &value) {
    if (updateIniFile(configIniPath(), [&](IniFile &ini) { ini.setValue(key, value); }))
        return true;
    qCWarning(lcStorage, "Could not write %s", qPrintable(configIniPath()));
    return false;
}
} // namespace

QString configDir() {
    return AppDir::configPath();
}

bool seedConfigDir() {
    const QString shipped = AppDir::path() + QStringLiteral("/Configs");
    const QString target = configDir();
    if (QDir(shipped) == QDir(target))
        return true;
    if (!QDir().mkpath(target))
        return false;
    bool ok = true;
    QDirIterator it(shipped, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = target + QLatin1Char('/') + QDir(shipped).relativeFilePath(from);
        if (QFileInfo::exists(to))
            continue;
        // Copied under a temporary name and renamed, so that a start cut short never
        // leaves half a file that later starts would take as the user's own. The copy
        // is the user's to write, whatever the shipped file's permissions.
        const QString partial = to + QStringLiteral(".seeding");
        QFile::remove(partial);
        const bool copied =
            QDir().mkpath(QFileInfo(to).absolutePath()) && QFile::copy(from, partial) &&
            QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadUser | QFileDevice::WriteUser) &&
            QFile::rename(partial, to);
        if (!copied) {
            QFile::remove(partial);
            ok = QFileInfo::exists(to) && ok;
        }
    }
    return ok;
}

QString configIniPath() {
    return configDir() + QStringLiteral("/Config.ini");
}

QString productConfigPath() {
    const QString product = currentProductName();
    if (!isSafeFileName(product))
        return configDir() + QStringLiteral("/Config.ini");
    return configDir() + QLatin1Char('/') + product + QStringLiteral("/Config.ini");
}

QString macroDir() {
    return configDir() + QStringLiteral("/MacroDB");
}

QString descriptorPath() {
    return AppDir::path() + QStringLiteral("/DefaultProfile.bin");
}

bool isSafeFileName(const QString &name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // A control character (a line break, a tab, NUL) would end the name in a list, a menu or
    // a line of Config.ini.
    const auto unfit = [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') ||
               c.category() == QChar::Other_Control;
    };
    return std::none_of(name.begin(), name.end(), unfit);
}

bool fitsFileNameLimit(const QString &name) {
    constexpr int kFileNameMax = 255;
    // The longest ending: a macro file's temporary twin while it is being saved.
    constexpr int kLongestEnding = int(sizeof(".MSMACRO.~XXXXX")) - 1;
    return QFile::encodeName(name).size() <= kFileNameMax - kLongestEnding;
}

QString macroFilePath(const QString &macroName) {
    if (!isSafeFileName(macroName))
        return QString();
    return macroDir() + QLatin1Char('/') + macroName + QStringLiteral(".MSMACRO");
}

QString writeJournalPath() {
    return configDir() + QStringLiteral("/Writes.journal");
}

int removeInterruptedConfigWrites() {
    const QStringList suffixes = {QStringLiteral("ini"), QStringLiteral("prof"),
                                  QStringLiteral("MSMACRO"), QStringLiteral("conf"),
                                  QStringLiteral("journal")};
    const QString root = configDir();
    QStringList folders = {root};
    for (const QString &sub : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        folders << root + QLatin1Char('/') + sub;
        folders << root + QLatin1Char('/') + sub + QStringLiteral("/Profile");
    }
    const int count = recoverInterruptedWrites(writeJournalPath(), folders, suffixes);
    if (count > 0)
        qCDebug(lcStorage, "Finished or removed %d unfinished writes", count);
    return count;
}

bool saveActiveProfileId(int index) {
    return setConfigValue(QStringLiteral("Config/ProfileID"), index);
}

void setProfileListKeys(IniFile &ini, const ProfileSet &set) {
    ini.setValue(QStringLiteral("Config/ProfileID"), int(set.ProfileID));
    ini.setValue(QStringLiteral("Config/Count"), int(set.Count));
    for (int i = 0; i < kProfileCount; ++i)
        ini.setValue(QStringLiteral("Config/Profile%1").arg(i + 1), set.profileNames[i]);
}

void saveProfileList(const ProfileSet &set) {
    const bool written =
        updateIniFile(configIniPath(), [&](IniFile &ini) { setProfileListKeys(ini, set); });
    if (!written)
        qCWarning(lcStorage, "Could not write %s", qPrintable(configIniPath()));
}

// A whole send owed that the disk did not take (a full disk) is owed still while the program
// runs. A cleared flag that was not written stays set on disk, which only costs a whole send.
namespace {
bool g_wholeSendOwed = false;
} // namespace

int readDiffFlag() {
    return g_wholeSendOwed ? 1 : configValue(kDiffKey, 0).toInt();
}

void writeDiffFlag(int value) {
    const bool written = setConfigValue(kDiffKey, value);
    if (value == 1 && !written)
        g_wholeSendOwed = true;
    else if (value == 0 && written)
        g_wholeSendOwed = false;
}

void setDiffFlag(IniFile &config, int value) {
    config.setValue(kDiffKey, value);
}

namespace {
// The model this program works with when Config.ini did not take it (a full disk, a folder
// that may not be written): the paths of the model's files, its battery history, are made
// from it all the same.
std::optional<QString> g_unwrittenProductName;
} // namespace

QString currentProductName() {
    if (g_unwrittenProductName)
        return *g_unwrittenProductName;
    return configValue(QStringLiteral("Config/CurrentProductName")).toString();
}

void setCurrentProductName(const QString &name) {
    // Every start looks the model up again; the file is written only when it changed.
    if (currentProductName() == name)
        return;
    if (setConfigValue(QStringLiteral("Config/CurrentProductName"), name))
        g_unwrittenProductName.reset();
    else
        g_unwrittenProductName = name;
}

QString modelText() {
    return configValue(QStringLiteral("Config/Model")).toString();
}

int batteryLevel() {
    return configValue(QStringLiteral("Config/Battery"), 0).toInt();
}

void setBatteryLevel(int percent) {
    setConfigValue(QStringLiteral("Config/Battery"), percent);
}

int batteryFullValue() {
    return configValue(QStringLiteral("Config/BatteryFull"), 4200).toInt();
}

int accentColourId() {
    return configValue(QStringLiteral("Config/GColorID"), 0).toInt();
}

int sensorCode() {
    return configValue(QStringLiteral("MouseSenSor/1"), 0).toInt();
}

int ledCodeVariant() {
    return configValue(QStringLiteral("MouseLEDMode/") + currentProductName(), 0).toInt();
}

QString modelListName() {
    return configValue(QStringLiteral("Mouse_List/0")).toString();
}

QString macroListEntry(int index) {
    if (index < 0 || index >= kMacroListSize)
        return QString();
    return configValue(QStringLiteral("MACRO_LIST/%1").arg(index)).toString();
}

bool setMacroListEntry(int index, const QString &name) {
    if (index < 0 || index >= kMacroListSize)
        return false;
    return setConfigValue(QStringLiteral("MACRO_LIST/%1").arg(index), name);
}

int macroCount() {
    const IniFile ini(configIniPath());
    int count = 0;
    for (int i = 0; i < kMacroListSize; ++i) {
        if (!ini.value(QStringLiteral("MACRO_LIST/%1").arg(i)).toString().isEmpty())
            ++count;
    }
    return count;
}

bool isProtectedProfile(const QString &name) {
    const IniFile ini(productConfigPath());
    // The list is written by hand; a wild count must not turn into a long scan.
    const int count = qMin(ini.value(QStringLiteral("PROFILE_LIST/SCount"), 0).toInt(), 1000);
    for (int i = 1; i <= count; ++i) {
        if (ini.value(QStringLiteral("PROFILE_LIST/S%1").arg(i)).toString() == name)
            return true;
    }
    return false;
}
