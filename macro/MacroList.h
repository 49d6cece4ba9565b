// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro list: the names in "MACRO_LIST/0".."MACRO_LIST/49" of Config.ini, each with its
// file in MacroDB. A new name takes the first empty key; a removed name leaves its key empty.
// The operations return a MacroListResult; the macro page tells the user what went wrong.

#include <QString>
#include <QStringList>

class FileSet;
struct ProfileSet;

enum MacroListResult {
    MacroListDone = 0,
    MacroListFull,      // all fifty keys are in use
    MacroListExists,    // a macro of that name exists already
    MacroListBadName,   // the name cannot be a file name
    MacroListFileError, // a file could not be read, written or copied
    MacroListTooLong,   // the name is too long for a file name (fitsFileNameLimit)
};

// The names in key order, empty keys left out.
QStringList macroListNames();
// True when the list holds the name.
bool macroListContains(const QString &name);
constexpr int kMacroListFullKey = -1;
constexpr int kMacroListUnwritten = -2;
// Puts the name into the first empty key: the key; kMacroListFullKey when the list is full,
// kMacroListUnwritten when Config.ini could not be written.
int addToMacroList(const QString &name);
// Lists a file just made in MacroDB. A file the list cannot take in (MacroListFull,
// MacroListFileError) is removed again, as it would hold the name while nobody sees it.
MacroListResult listNewFile(const QString &name);
// Empties the key that holds the name; false when Config.ini could not be written.
bool removeFromMacroList(const QString &name);

// True when neither a file nor the list has the name.
bool macroNameFree(const QString &name);
// "name_1", "name_2", ...: the first free one.
QString nextNewMacroName();
// The name itself when free, else the name with "_2", "_3", ... appended.
QString uniqueMacroName(const QString &wanted);

// A new empty macro under the next free "name_%d", added to the list.
MacroListResult createMacro(QString &name);
// Gives the macro `from` the name `wanted` (made unique); the file moves with it and the
// list key that held `from` holds the final name. Done with finalName == from when the
// name is unchanged.
// The profile files that bind the macro follow it (addProfileFileRenames); all of it is
// written as one, or nothing is (MacroListFileError).
MacroListResult renameMacro(const QString &from, const QString &wanted, QString &finalName);
// Removes the name from the list and its file from MacroDB; nothing when the list cannot
// be written (MacroListFileError).
MacroListResult deleteMacro(const QString &name);

// Copies one macro file into MacroDB under its own base name and lists it.
MacroListResult importMacro(const QString &path, QString &name);
// Copies several files; an existing file is kept, and a name is listed once at most. The
// names listed, in the order given.
QStringList importMacros(const QStringList &paths);
// Copies a macro's file to a chosen file, replacing it.
MacroListResult exportMacro(const QString &name, const QString &target);
// Copies the macros' files into a folder as <name>.MSMACRO; existing files are kept. The
// number of files copied.
int exportMacros(const QStringList &names, const QString &folder);

// Adds to the set the changes that point the macro and gun buttons of every profile file on
// disk (of every model) bound to `from` at `to`, as a rename does; the number of files.
int addProfileFileRenames(FileSet &files, const QString &from, const QString &to);
// True when a macro or gun button of the set is bound to the name.
bool macroBound(const ProfileSet &set, const QString &name);
// True when a macro or gun button of a profile file on disk (of any model) is bound to it.
bool macroBoundOnDisk(const QString &name);
// Points every macro and gun button of the set bound to `from` at `to`; the number of
// buttons changed.
int renameBoundMacros(ProfileSet &set, const QString &from, const QString &to);
