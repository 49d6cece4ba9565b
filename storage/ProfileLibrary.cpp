// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileLibrary.h"

#include "AppConfig.h"
#include "FileSet.h"
#include "IniFile.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "StorageLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kListGroup = QStringLiteral("PROFILE_LIST");

// The list's keys for the names: the count and the numbered names; numbered keys past the new
// end go, the group's other keys stay.
void setLibraryKeys(IniFile &ini, const QStringList &names) {
    for (const QString &key : ini.childKeys(kListGroup)) {
        bool numeric = false;
        if (key.toInt(&numeric) > names.size() && numeric)
            ini.remove(kListGroup + QLatin1Char('/') + key);
    }
    ini.setValue(kListGroup + QStringLiteral("/Count"), names.size());
    for (int i = 0; i < names.size(); ++i) {
        qCDebug(lcStorage).noquote()
            << QStringLiteral("PROFILE_LIST %1 %2").arg(i + 1).arg(names[i]);
        ini.setValue(kListGroup + QLatin1Char('/') + QString::number(i + 1), names[i]);
    }
}

// A file offered for import, read whole, with its keys.
struct ImportFile {
    QByteArray bytes;
    IniFile keys;
};

// Reads a file offered for import as a profile file (.prof) or a configuration file (.conf),
// or says why it cannot be. Nothing larger than kMaxImportFileSize is read.
int readImportFile(const QString &path, bool configuration, ImportFile &file) {
    const QFileInfo info(path);
    if (!info.exists())
        return LibraryNotFound;
    if (info.isDir())
        return LibraryIsFolder;
    const QLatin1String suffix(configuration ? "conf" : "prof");
    if (info.suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        return LibraryWrongKind;
    if (info.size() > kMaxImportFileSize)
        return LibraryTooLarge;
    QFile in(path);
    if (!info.isFile() || !in.open(QIODevice::ReadOnly))
        return LibraryUnreadable;
    file.bytes = in.read(kMaxImportFileSize + 1);
    if (file.bytes.size() > kMaxImportFileSize)
        return LibraryTooLarge;
    file.keys.parse(file.bytes);
    return LibraryDone;
}

// Whether the file is one of ours (it has the model's name or any key every such file has),
// made for this model, and whole: with every such key and its last line ended, as every file of
// ours has it (a file cut inside its last line lacks no key).
int checkImportKeys(const QString &path, const ImportFile &file, const RequiredKeys &keys) {
    const QString model = readModelName(file.keys);
    if (keys.present == 0 && model.isEmpty())
        return LibraryNotProfile;
    // A file of ours cut short before its model's name lacks keys that come after it as well:
    // it is incomplete, not another model's.
    const bool cut = keys.present < keys.required || !file.bytes.endsWith('\n');
    if (model != currentProductName() && !(model.isEmpty() && cut))
        return LibraryWrongModel;
    if (cut) {
        qCDebug(lcStorage, "%s: %d of %d keys, first missing %s", qPrintable(path), keys.present,
                keys.required, qPrintable(keys.firstMissing));
        return LibraryIncomplete;
    }
    return LibraryDone;
}

bool modelSelected() {
    return isSafeFileName(currentProductName());
}

// The template for new profiles, written anew at each start beside the library's profiles: no
// profile may take its name, or the next start would write over it.
const QLatin1String kTemplateName("DefaultProfile");

// Whether a profile of that name may not be made: its file is there (or is the template's).
bool fileExists(const QString &name) {
    const QString path = profileFilePath(name);
    return name == kTemplateName || (!path.isEmpty() && QFileInfo::exists(path));
}

// The slot takes a library name: its record is read from that name's file.
void giveSlot(ProfileSet &set, int slot, const QString &name) {
    ProfileData fallback;
    makeDefaultProfile(fallback);
    fallback.ProfileName = name;
    ensureProfileFile(name, fallback);
    set.profileNames[slot] = name;
    loadProfileByName(set.profiles[slot], name);
    set.profiles[slot].ProfileName = name;
}

bool heldByOtherSlot(const ProfileSet &set, int slot, const QString &name) {
    for (int i = 0; i < kProfileCount; ++i) {
        if (i != slot && set.profileNames[i] == name)
            return true;
    }
    return false;
}

// An export writes into a folder that is there; it makes none.
bool folderExists(const QString &path) {
    return QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

bool validSlot(int slot) {
    return slot >= 0 && slot < kProfileCount;
}

} // namespace

QStringList readProfileLibrary() {
    QStringList names;
    if (!modelSelected())
        return names;
    const IniFile ini(productConfigPath());
    // A hand-edited count cannot make the scan longer than the keys the file holds.
    const int count = int(qMin<long long>(ini.number(kListGroup + QStringLiteral("/Count")),
                                          ini.childKeys(kListGroup).size()));
    for (int i = 1; i <= count; ++i) {
        const QString name =
            ini.value(kListGroup + QLatin1Char('/') + QString::number(i)).toString();
        if (isSafeFileName(name) && !names.contains(name))
            names << name;
    }
    return names;
}

bool writeProfileLibrary(const QStringList &names) {
    if (!modelSelected())
        return false;
    return updateIniFile(productConfigPath(), [&](IniFile &ini) { setLibraryKeys(ini, names); });
}

bool isDefaultProfileName(const QString &name) {
    for (int i = 1; i <= kProfileCount; ++i) {
        if (name == QStringLiteral("Profile %1").arg(i))
            return true;
    }
    return false;
}

namespace {
// The default names, and the names the model's own list protects, keep their profiles.
bool keptProfileName(const QString &name) {
    return isDefaultProfileName(name) || isProtectedProfile(name);
}
} // namespace

bool ensureProfileFile(const QString &name, const ProfileData &fallback) {
    const QString path = profileFilePath(name);
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) || adoptSharedProfile(name))
        return true;
    saveProfileByName(fallback, name);
    return QFileInfo::exists(path);
}

void addToProfileLibrary(QStringList &library, const QStringList &names) {
    for (const QString &name : names) {
        if (isSafeFileName(name) && !library.contains(name))
            library << name;
    }
}

QString freeProfileName() {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Profile %1").arg(n);
        if (!fileExists(name))
            return name;
    }
}

QString copyProfileName(const QString &name) {
    QString copy = name + QStringLiteral(" copy");
    while (fileExists(copy))
        copy += QStringLiteral(" copy");
    return copy;
}

// A name for a profile of a configuration file whose own name cannot be a file name: its
// unfit characters become "_", it is cut to fit, and it is made unlike every profile file and
// every name taken; "Profile N" when nothing usable is left.
QString usableProfileName(const QString &wanted, const QStringList &taken) {
    QString base = wanted;
    for (QChar &c : base) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    if (!isSafeFileName(base))
        base = freeProfileName();
    const auto free = [&taken](const QString &name) {
        return fitsFileNameLimit(name) && !fileExists(name) && !taken.contains(name);
    };
    for (int n = 1;; ++n) {
        const QString ending = n == 1 ? QString() : QStringLiteral(" (%1)").arg(n);
        while (!fitsFileNameLimit(base + ending))
            base.chop(base.size() > 1 && base.at(base.size() - 1).isLowSurrogate() ? 2 : 1);
        if (free(base + ending))
            return base + ending;
    }
}

int deleteSuccessor(const QStringList &library, int position, const QStringList &heldByOthers) {
    const int n = library.size();
    if (n < 2 || position < 0 || position >= n)
        return -1;
    const auto free = [&](int i) { return i != position && !heldByOthers.contains(library[i]); };
    const int start = position == n - 1 ? position - 1 : position + 1;
    for (int i = start; i >= 0; --i) {
        if (free(i))
            return i;
    }
    // Everything before is held: the first free name after it.
    for (int i = start + 1; i < n; ++i) {
        if (free(i))
            return i;
    }
    return -1;
}

int addLibraryProfile(QStringList &library, ProfileSet &set, int slot, QString *name) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!validSlot(slot))
        return LibraryUnchanged;
    const QString added = freeProfileName();
    const QString templatePath = profileFilePath(kTemplateName);
    if (!QFileInfo::exists(templatePath))
        writeDefaultProfileFile();
    if (!copyFileOver(templatePath, profileFilePath(added)))
        return LibraryWriteFailed;
    QStringList names = library;
    addToProfileLibrary(names, {added});
    // A profile the library does not list would be lost at the next start.
    if (!writeProfileLibrary(names)) {
        QFile::remove(profileFilePath(added));
        return LibraryWriteFailed;
    }
    library = names;
    giveSlot(set, slot, added);
    if (name)
        *name = added;
    return LibraryDone;
}

int checkDeleteLibraryProfile(const QStringList &library, const ProfileSet &set, int slot) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!validSlot(slot))
        return LibraryUnchanged;
    if (library.size() < 2)
        return LibraryLastProfile;
    if (keptProfileName(set.profileNames[slot]))
        return LibraryDefaultName;
    return LibraryDone;
}

int deleteLibraryProfile(QStringList &library, ProfileSet &set, int slot) {
    const int check = checkDeleteLibraryProfile(library, set, slot);
    if (check != LibraryDone)
        return check;
    const QString name = set.profileNames[slot];
    QStringList list = library;
    int position = list.indexOf(name);
    if (position < 0) {
        // A slot name the list lost (a hand-edited file) is deleted like a listed one.
        list << name;
        position = list.size() - 1;
    }
    QStringList held;
    for (int i = 0; i < kProfileCount; ++i) {
        if (i != slot)
            held << set.profileNames[i];
    }
    const int successor = deleteSuccessor(list, position, held);
    if (successor < 0)
        return LibraryLastProfile;
    const QString next = list[successor];
    list.removeAt(position);
    // The library no longer lists it before its file goes: a failed write keeps both.
    if (!writeProfileLibrary(list))
        return LibraryWriteFailed;
    library = list;
    const QString path = profileFilePath(name);
    if (!path.isEmpty() && QFileInfo::exists(path))
        QFile::remove(path);
    giveSlot(set, slot, next);
    return LibraryDone;
}

int copyLibraryProfile(QStringList &library, ProfileSet &set, int slot) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!validSlot(slot))
        return LibraryUnchanged;
    const QString name = set.profileNames[slot];
    const QString copy = copyProfileName(name);
    if (!isSafeFileName(name) || !isSafeFileName(copy))
        return LibraryUnsafeName;
    if (!fitsFileNameLimit(copy))
        return LibraryTooLong;
    const QString from = profileFilePath(name);
    if (QFileInfo::exists(from)) {
        if (!copyFileOver(from, profileFilePath(copy)))
            return LibraryWriteFailed;
    } else {
        // Nothing saved yet under the old name: the copy is made from the record.
        saveProfileByName(set.profiles[slot], copy);
        if (!fileExists(copy))
            return LibraryWriteFailed;
    }
    QStringList names = library;
    addToProfileLibrary(names, {copy});
    if (!writeProfileLibrary(names)) {
        QFile::remove(profileFilePath(copy));
        return LibraryWriteFailed;
    }
    library = names;
    set.profileNames[slot] = copy;
    set.profiles[slot].ProfileName = copy;
    return LibraryDone;
}

int renameLibraryProfile(QStringList &library, ProfileSet &set, int slot, const QString &newName) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!validSlot(slot))
        return LibraryUnchanged;
    const QString old = set.profileNames[slot];
    if (keptProfileName(old))
        return LibraryDefaultName;
    if (newName == old)
        return LibraryUnchanged;
    if (!isSafeFileName(newName))
        return LibraryUnsafeName;
    if (!fitsFileNameLimit(newName))
        return LibraryTooLong;
    if (fileExists(newName))
        return LibraryExists;
    if (heldByOtherSlot(set, slot, newName))
        return LibraryInUse;
    const QString from = profileFilePath(old);
    const QString to = profileFilePath(newName);
    QStringList names = library;
    const int position = names.indexOf(old);
    if (position >= 0)
        names[position] = newName;
    else
        addToProfileLibrary(names, {newName});
    // Every slot that held the old name follows its file.
    ProfileSet renamed = set;
    for (int i = 0; i < kProfileCount; ++i) {
        if (renamed.profileNames[i] == old) {
            renamed.profileNames[i] = newName;
            renamed.profiles[i].ProfileName = newName;
        }
    }
    // The file under its new name, the library and the slots' names are written as one: a
    // full disk leaves the profile under its old name, listed and in its slots, never a file
    // that nothing names.
    FileSet files(writeJournalPath());
    QFile source(from);
    if (!from.isEmpty() && source.open(QIODevice::ReadOnly)) {
        // The old file goes once the new one stands: it is copied whole or not at all.
        const QByteArray text = source.readAll();
        if (source.error() != QFileDevice::NoError)
            return LibraryWriteFailed;
        files.replace(to, text);
    } else {
        saveProfileByName(set.profiles[slot], newName);
        if (!QFileInfo::exists(to))
            return LibraryWriteFailed;
    }
    files.update(productConfigPath(), [&names](IniFile &ini) { setLibraryKeys(ini, names); });
    files.update(configIniPath(), [&renamed](IniFile &ini) { setProfileListKeys(ini, renamed); });
    if (!files.commit()) {
        if (!source.isOpen())
            QFile::remove(to);
        return LibraryWriteFailed;
    }
    if (source.isOpen())
        QFile::remove(from);
    library = names;
    set = renamed;
    return LibraryDone;
}

int chooseLibraryProfile(ProfileSet &set, int slot, const QString &name) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!validSlot(slot))
        return LibraryUnchanged;
    if (!isSafeFileName(name))
        return LibraryUnsafeName;
    if (heldByOtherSlot(set, slot, name))
        return LibraryInUse;
    giveSlot(set, slot, name);
    return LibraryDone;
}

int importProfileFile(QStringList &library, ProfileSet &set, int slot, const QString &path,
                      ImportMode mode) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!validSlot(slot))
        return LibraryUnchanged;
    ImportFile file;
    ProfileData held;
    int check = readImportFile(path, false, file);
    if (check == LibraryDone)
        check = checkImportKeys(path, file, readProfileFileKeys(file.keys, held));
    if (check != LibraryDone)
        return check;
    // The library keeps every profile as <name>.prof, whatever the chosen file was called.
    const QString name = QFileInfo(path).completeBaseName();
    if (!isSafeFileName(name))
        return LibraryUnsafeName;
    if (!fitsFileNameLimit(name))
        return LibraryTooLong;
    const QString target = profileFilePath(name);
    if (fileExists(name))
        return LibraryExists;
    if (heldByOtherSlot(set, slot, name))
        return LibraryInUse;
    ProfileSet incoming = set;
    incoming.profileNames[slot] = name;
    incoming.profiles[slot] = held;
    incoming.profiles[slot].ProfileName = name;
    QStringList names = library;
    addToProfileLibrary(names, {name});
    FileSet files(writeJournalPath());
    addImportedProfileFile(files, target, file.bytes, held, incoming.profiles[slot]);
    files.update(productConfigPath(), [&names](IniFile &ini) { setLibraryKeys(ini, names); });
    addAppliedState(files, incoming, mode == ImportOnly);
    if (!files.commit())
        return LibraryWriteFailed;
    library = names;
    set = incoming;
    return LibraryDone;
}

int exportProfileFile(const ProfileSet &set, int slot, const QString &path) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!validSlot(slot))
        return LibraryUnchanged;
    if (!folderExists(path))
        return LibraryNoFolder;
    // A folder of that name is never written over.
    if (QFileInfo(path).isDir())
        return LibraryIsFolder;
    if (profileFilePath(set.profileNames[slot]).isEmpty())
        return LibraryUnsafeName;
    // What the slot holds now, edits not yet sent included, as a configuration file has it.
    return writeProfileFile(set.profiles[slot], path, currentProductName()) ? LibraryDone
                                                                            : LibraryWriteFailed;
}

int saveConfigFile(const ProfileSet &set, const QString &path) {
    if (!modelSelected())
        return LibraryNoModel;
    if (!folderExists(path))
        return LibraryNoFolder;
    if (QFileInfo(path).isDir())
        return LibraryIsFolder;
    // One new file replaces whatever was there: a file of only some of its keys, which an
    // interrupted export could leave, never appears.
    return writeConfigFile(set, path, currentProductName()) ? LibraryDone : LibraryWriteFailed;
}

int loadConfigFile(QStringList &library, ProfileSet &set, const QString &path, int *refusedNames,
                   ImportMode mode) {
    if (!modelSelected())
        return LibraryNoModel;
    ImportFile file;
    ProfileSet incoming = set;
    int check = readImportFile(path, true, file);
    if (check == LibraryDone)
        check = checkImportKeys(path, file, readConfigFileKeys(file.keys, incoming));
    if (check != LibraryDone)
        return check;
    int refused = 0;
    QStringList taken = library;
    for (const QString &name : incoming.profileNames) {
        if (isSafeFileName(name) && fitsFileNameLimit(name) && name != kTemplateName)
            taken << name;
    }
    QStringList seen;
    for (int i = 0; i < kProfileCount; ++i) {
        // A name that is no file name would never be saved and the slot would come back
        // empty after a restart. Keeping the slot's old name would write the file's profile
        // over the library's profile of that name: the profile gets a name of its own.
        // A slot without a name stays so where it had none. A name given to an earlier slot
        // too would save both slots' profiles to one file, the later over the earlier.
        QString &name = incoming.profileNames[i];
        const bool unnamed = name.isEmpty();
        if ((unnamed && !set.profileNames[i].isEmpty()) ||
            (!unnamed && (!isSafeFileName(name) || !fitsFileNameLimit(name) ||
                          name == kTemplateName || seen.contains(name)))) {
            refused += unnamed ? 0 : 1;
            name = usableProfileName(name, taken);
            taken << name;
        }
        seen << name;
        incoming.profiles[i].ProfileName = incoming.profileNames[i];
    }
    if (incoming.ProfileID >= kProfileCount)
        incoming.ProfileID = set.ProfileID;
    QStringList names = library;
    addToProfileLibrary(names,
                        QStringList(incoming.profileNames, incoming.profileNames + kProfileCount));
    FileSet files(writeJournalPath());
    files.update(productConfigPath(), [&names](IniFile &ini) { setLibraryKeys(ini, names); });
    addAppliedState(files, incoming, mode == ImportOnly);
    if (!files.commit())
        return LibraryWriteFailed;
    set = incoming;
    library = names;
    if (refusedNames)
        *refusedNames = refused;
    return LibraryDone;
}
