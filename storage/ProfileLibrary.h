// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The library of named profiles of the current model: an ordered list of names kept in
// "PROFILE_LIST" of the model's Config.ini, each name with its file <name>.prof in the
// model's profile folder. The rules of the profile commands live here and answer with a
// result code; the window asks the user, shows the messages and refreshes the pages.
// A refused command leaves the list, the files and the set exactly as they were.

#include <QString>
#include <QStringList>
#include <QtGlobal>

struct ProfileData;
struct ProfileSet;

enum LibraryResult {
    LibraryDone = 0,
    LibraryNoModel = 1,     // no model is selected: there is no library folder
    LibraryUnsafeName = 2,  // the name cannot be a file name
    LibraryExists = 3,      // a profile file of that name exists
    LibraryInUse = 4,       // another slot holds that name
    LibraryLastProfile = 5, // the library would be left empty
    LibraryDefaultName = 6, // "Profile 1".."Profile 5" and the model's protected names are
                            // neither deleted nor renamed
    LibraryWrongModel = 7,  // the file was made for another model
    LibraryWriteFailed = 8, // a file could not be copied, moved or written
    LibraryUnchanged = 9,   // nothing to do (a rename to the same name)
    LibraryIncomplete = 10, // the file lacks keys every file of its kind has (cut short)
    LibraryTooLong = 11,    // the name is too long for a file name (fitsFileNameLimit)
    // Files offered for import:
    LibraryNotFound = 12,   // there is no such file
    LibraryIsFolder = 13,   // the name is a folder's
    LibraryWrongKind = 14,  // the name ends in neither .prof nor .conf
    LibraryTooLarge = 15,   // larger than kMaxImportFileSize: refused unread
    LibraryUnreadable = 16, // the file cannot be read (no permission, not a plain file)
    LibraryNotProfile = 17, // neither a model's name nor any profile key: not one of our files
    // Files written by export:
    LibraryNoFolder = 18, // the folder to write into does not exist (it is not made)
};

// Far above any file of ours (a configuration file of five busy profiles is about 1 MB).
constexpr qint64 kMaxImportFileSize = 16 * 1024 * 1024;

// Whether an import is sent to the mouse straight after (the window's commands, apply with a
// file) or only stored (import): then "Config/Diff" is set with it, so that the next send sends
// all of it.
enum ImportMode { ImportThenSend, ImportOnly };

// The names of the library in order ("PROFILE_LIST/Count" and "PROFILE_LIST/1".."N").
// Empty entries, unsafe names and repeats are left out.
QStringList readProfileLibrary();
// Writes the list (count and numbered names); false when no model is selected.
bool writeProfileLibrary(const QStringList &names);

// "Profile 1" .. "Profile 5": the names every slot starts with.
bool isDefaultProfileName(const QString &name);

// Makes sure the profile file of a slot name exists in the model's folder: a file left in
// the shared folder Configs/Profile by an older installation is copied in (and kept where
// it was); otherwise the record given is written. False when no file could be had.
bool ensureProfileFile(const QString &name, const ProfileData &fallback);
// Appends to the library each of the names that it lacks.
void addToProfileLibrary(QStringList &library, const QStringList &names);

// The first "Profile %d" (N = 1, 2, ...) without a file.
QString freeProfileName();
// name + " copy", with " copy" appended again while a file of that name exists.
QString copyProfileName(const QString &name);
// Where the slot goes when the name at position goes away: the next name, or the one
// before it for the last position, stepping back past names other slots hold; -1 when
// every other name is held.
int deleteSuccessor(const QStringList &library, int position, const QStringList &heldByOthers);

// The commands. `slot` is the working set's current slot; the record of that slot is
// loaded from the new file where the command says so.

// ADD: a new "Profile N" made from the template, appended and given to the slot.
int addLibraryProfile(QStringList &library, ProfileSet &set, int slot, QString *name = nullptr);
// Whether DELETE may go on to ask the user (LibraryDone), or why it may not.
int checkDeleteLibraryProfile(const QStringList &library, const ProfileSet &set, int slot);
// DELETE of the slot's name; the slot takes the successor.
int deleteLibraryProfile(QStringList &library, ProfileSet &set, int slot);
// COPY of the slot's profile file under a new name, which the slot takes. The record
// keeps its unsent edits.
int copyLibraryProfile(QStringList &library, ProfileSet &set, int slot);
// Rename of the slot's name to newName, moving its file.
int renameLibraryProfile(QStringList &library, ProfileSet &set, int slot, const QString &newName);
// A library profile chosen for the slot.
int chooseLibraryProfile(ProfileSet &set, int slot, const QString &name);
// Import of a .prof made for this model: copied into the library under its base name,
// which the slot takes. The file, the library and the saved state (addAppliedState) are written
// as one set of files. A file that lacks a key every profile file has is refused as incomplete.
int importProfileFile(QStringList &library, ProfileSet &set, int slot, const QString &path,
                      ImportMode mode = ImportThenSend);
// Export of the slot's profile file to path, marked with the model's name. The folder must
// exist, as for cp: a mistyped folder is not made; a folder at path is refused.
int exportProfileFile(const ProfileSet &set, int slot, const QString &path);
// SAVE: the whole set to a configuration file, marked with the model's name, into a folder
// that exists; a folder at path is refused.
int saveConfigFile(const ProfileSet &set, const QString &path);
// LOAD: a configuration file made for this model into the set. A slot name in the file
// that cannot be a file name, is too long for one, is the template's ("DefaultProfile") or
// was given to an earlier slot of the file, is not taken: the profile gets one that
// can, like it and unlike every other (never the slot's old name, whose library profile it
// would overwrite), and refusedNames counts such names. The names taken are added to the library.
// The library and the saved state are written as one set of files. A file that lacks a key every
// configuration file has is refused as incomplete.
int loadConfigFile(QStringList &library, ProfileSet &set, const QString &path,
                   int *refusedNames = nullptr, ImportMode mode = ImportThenSend);
