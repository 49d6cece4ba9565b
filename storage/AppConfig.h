// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Config.ini: what the program remembers between runs apart from the profiles themselves.
// Every accessor opens the file, reads or writes its keys, and closes it again.

#include <QString>

class IniFile;
struct ProfileSet;

constexpr int kMacroListSize = 50;

// The folder of the writable state: <app dir>/Configs, or the user's configuration folder
// for an installed program (AppDir::configPath).
QString configDir();
// Gives the user's configuration folder the files of the shipped Configs that it does not
// have yet. A file that is there is never replaced, so what the program saved survives
// every start and every update of the installation. Nothing happens when the state lives
// in the application directory itself. False when a file could not be copied.
bool seedConfigDir();
// <config dir>/Config.ini
QString configIniPath();
// <config dir>/<product>/Config.ini (the per-product profile list)
QString productConfigPath();
// <config dir>/MacroDB
QString macroDir();
// <app dir>/DefaultProfile.bin
QString descriptorPath();

// True for a name that can become a file name inside its folder: not empty, not "." or
// "..", and without "/", "\" or control characters (line breaks, tabs). Names from files and
// dialogs are checked before use.
bool isSafeFileName(const QString &name);
// True when the name leaves room, within the file system's 255 bytes for one file name,
// for the longest ending its files get (".MSMACRO" with the temporary file written beside
// it while saving). A longer name could be taken but never saved: names a user types or a
// file brings are checked with this before they are taken; names already stored are read
// whatever their length.
bool fitsFileNameLimit(const QString &name);

// The .MSMACRO file of a macro name, or an empty string when the name is not safe.
QString macroFilePath(const QString &macroName);

// <config dir>/Writes.journal: the journal of the sets of files written as one (FileSet.h),
// there only while such a set is being written.
QString writeJournalPath();
// Run at start: finishes a set of files (an import, an apply) whose writer was killed once the
// set was written, then removes the temporary files that writes killed before they could finish
// left in the configuration folder and the folders below it (Config.ini, profiles, macros), so
// that an unfinished set leaves its files as they were. Returns how many files were finished
// or removed.
int removeInterruptedConfigWrites();

// False when Config.ini could not be written.
bool saveActiveProfileId(int index);
// Writes "Config/ProfileID", "Config/Count" and the five slot names, in this order.
void saveProfileList(const ProfileSet &set);
// The keys saveProfileList writes, set in ini (for a write of several files as one).
void setProfileListKeys(IniFile &ini, const ProfileSet &set);

int readDiffFlag();
void writeDiffFlag(int value);
// The same flag among the keys of Config.ini being changed.
void setDiffFlag(IniFile &config, int value);

QString currentProductName();
void setCurrentProductName(const QString &name);

QString modelText();

int batteryLevel();
void setBatteryLevel(int percent);
int batteryFullValue();

int accentColourId();
int sensorCode();
int ledCodeVariant();

// The first product of the installation's model list ("Mouse_List/0").
QString modelListName();

QString macroListEntry(int index);
// False when the index is none of the list's or Config.ini could not be written.
bool setMacroListEntry(int index, const QString &name);
int macroCount();

bool isProtectedProfile(const QString &name);
