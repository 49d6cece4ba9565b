// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroList.h"

#include "AppConfig.h"
#include "FileSet.h"
#include "IniFile.h"
#include "MacroFile.h"
#include "ProfileData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {
// True when the button plays the macro (or gun file) of that name.
bool playsMacro(const ButtonInfo &button, const QString &name) {
    return (button.Fun == kFunMacro || button.Fun == kFunGunFile) && button.macroname == name;
}

int listKeyOf(const QString &name) {
    for (int i = 0; i < kMacroListSize; ++i) {
        if (macroListEntry(i) == name)
            return i;
    }
    return -1;
}
} // namespace

QStringList macroListNames() {
    const IniFile ini(configIniPath());
    QStringList names;
    for (int i = 0; i < kMacroListSize; ++i) {
        const QString name = ini.value(QStringLiteral("MACRO_LIST/%1").arg(i)).toString();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

bool macroListContains(const QString &name) {
    return !name.isEmpty() && macroListNames().contains(name);
}

int addToMacroList(const QString &name) {
    const int key = listKeyOf(QString());
    if (key < 0)
        return kMacroListFullKey;
    return setMacroListEntry(key, name) ? key : kMacroListUnwritten;
}

bool removeFromMacroList(const QString &name) {
    const int key = listKeyOf(name);
    if (key < 0 || name.isEmpty())
        return true;
    return setMacroListEntry(key, QString());
}

MacroListResult listNewFile(const QString &name) {
    const int key = addToMacroList(name);
    if (key >= 0)
        return MacroListDone;
    QFile::remove(macroFilePath(name));
    return key == kMacroListFullKey ? MacroListFull : MacroListFileError;
}

bool macroNameFree(const QString &name) {
    return !macroFileExists(name) && !macroListContains(name);
}

QString nextNewMacroName() {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("name_%1").arg(n);
        if (macroNameFree(name))
            return name;
    }
}

QString uniqueMacroName(const QString &wanted) {
    if (macroNameFree(wanted))
        return wanted;
    for (int n = 2;; ++n) {
        const QString name = wanted + QStringLiteral("_%1").arg(n);
        if (macroNameFree(name))
            return name;
    }
}

MacroListResult createMacro(QString &name) {
    if (macroCount() >= kMacroListSize)
        return MacroListFull;
    name = nextNewMacroName();
    if (!saveMacroFile(name, MacroFile()))
        return MacroListFileError;
    return listNewFile(name);
}

MacroListResult renameMacro(const QString &from, const QString &wanted, QString &finalName) {
    finalName = from;
    if (wanted == from)
        return MacroListDone;
    if (!isSafeFileName(wanted))
        return MacroListBadName;
    const QString to = uniqueMacroName(wanted);
    if (!fitsFileNameLimit(to))
        return MacroListTooLong;
    // The file under its new name, the list and the profile files that bind the macro are
    // written as one: a rename cut short or refused leaves them all as they were.
    FileSet files(writeJournalPath());
    bool changes = false;
    if (macroFileExists(from)) {
        QFile source(macroFilePath(from));
        if (!source.open(QIODevice::ReadOnly))
            return MacroListFileError;
        files.replace(macroFilePath(to), source.readAll());
        files.afterCommit([from] { QFile::remove(macroFilePath(from)); });
        changes = true;
    }
    int key = listKeyOf(from);
    if (key < 0)
        key = listKeyOf(QString());
    if (key >= 0) {
        files.update(configIniPath(), [key, to](IniFile &ini) {
            ini.setValue(QStringLiteral("MACRO_LIST/%1").arg(key), to);
        });
        changes = true;
    }
    changes = addProfileFileRenames(files, from, to) > 0 || changes;
    if (changes && !files.commit())
        return MacroListFileError;
    finalName = to;
    return MacroListDone;
}

namespace {
// Every profile file on disk: macros are shared by every model, so the profiles of each
// model's folder, and those of the shared folder older installations used.
QStringList allProfileFiles() {
    QStringList folders{configDir() + QStringLiteral("/Profile")};
    for (const QFileInfo &model :
         QDir(configDir()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        folders << model.absoluteFilePath() + QStringLiteral("/Profile");
    QStringList paths;
    for (const QString &folder : folders) {
        for (const QFileInfo &profile :
             QDir(folder).entryInfoList({QStringLiteral("*.prof")}, QDir::Files | QDir::Hidden))
            paths << profile.absoluteFilePath();
    }
    return paths;
}

// The keys naming the macro of the profile file's macro and gun buttons bound to it.
QStringList boundMacroKeys(const QString &path, const QString &name) {
    QStringList keys;
    const IniFile ini(path);
    for (int n = 0; n < kButtonSlotCount; ++n) {
        const QString p = QStringLiteral("PROFILE/BUTTON_INFO_%1_").arg(n);
        const int fun = ini.value(p + QLatin1String("Fun")).toInt();
        if ((fun == kFunMacro || fun == kFunGunFile) &&
            ini.value(p + QLatin1String("macroname")).toString() == name)
            keys << p + QLatin1String("macroname");
    }
    return keys;
}
} // namespace

int addProfileFileRenames(FileSet &files, const QString &from, const QString &to) {
    int count = 0;
    for (const QString &path : allProfileFiles()) {
        const QStringList keys = boundMacroKeys(path, from);
        if (keys.isEmpty())
            continue;
        files.update(path, [keys, to](IniFile &file) {
            for (const QString &key : keys)
                file.setValue(key, to);
        });
        ++count;
    }
    return count;
}

bool macroBoundOnDisk(const QString &name) {
    const QStringList paths = allProfileFiles();
    return std::any_of(paths.begin(), paths.end(), [&name](const QString &path) {
        return !boundMacroKeys(path, name).isEmpty();
    });
}

MacroListResult deleteMacro(const QString &name) {
    // The file goes once the list no longer shows it: a list that could not be written
    // keeps both.
    if (!removeFromMacroList(name))
        return MacroListFileError;
    if (macroFileExists(name))
        QFile::remove(macroFilePath(name));
    return MacroListDone;
}

MacroListResult importMacro(const QString &path, QString &name) {
    name = QFileInfo(path).completeBaseName();
    if (!isSafeFileName(name))
        return MacroListBadName;
    if (!fitsFileNameLimit(name))
        return MacroListTooLong;
    if (macroFileExists(name) || macroListContains(name))
        return MacroListExists;
    if (macroCount() >= kMacroListSize)
        return MacroListFull;
    QDir().mkpath(macroDir());
    if (!QFile::copy(path, macroFilePath(name)))
        return MacroListFileError;
    return listNewFile(name);
}

QStringList importMacros(const QStringList &paths) {
    QDir().mkpath(macroDir());
    QStringList listed;
    for (const QString &path : paths) {
        const QString name = QFileInfo(path).completeBaseName();
        if (!isSafeFileName(name) || !fitsFileNameLimit(name))
            continue;
        const bool copied = !macroFileExists(name) && QFile::copy(path, macroFilePath(name));
        if (!macroFileExists(name) || macroListContains(name))
            continue;
        if (addToMacroList(name) < 0) {
            // A copy the list could not take in would hold the name, unseen.
            if (copied)
                QFile::remove(macroFilePath(name));
            break;
        }
        listed << name;
    }
    return listed;
}

MacroListResult exportMacro(const QString &name, const QString &target) {
    if (!macroFileExists(name))
        return MacroListFileError;
    // The file dialog has asked before replacing a file; a copy that fails leaves it as it was.
    return copyFileOver(macroFilePath(name), target) ? MacroListDone : MacroListFileError;
}

int exportMacros(const QStringList &names, const QString &folder) {
    int copied = 0;
    for (const QString &name : names) {
        if (!macroFileExists(name))
            continue;
        if (QFile::copy(macroFilePath(name),
                        folder + QLatin1Char('/') + name + QStringLiteral(".MSMACRO")))
            ++copied;
    }
    return copied;
}

bool macroBound(const ProfileSet &set, const QString &name) {
    for (const ProfileData &profile : set.profiles) {
        for (const ButtonInfo &button : profile.buttons) {
            if (playsMacro(button, name))
                return true;
        }
    }
    return false;
}

int renameBoundMacros(ProfileSet &set, const QString &from, const QString &to) {
    int changed = 0;
    for (ProfileData &profile : set.profiles) {
        for (ButtonInfo &button : profile.buttons) {
            if (playsMacro(button, from)) {
                button.macroname = to;
                ++changed;
            }
        }
    }
    return changed;
}
